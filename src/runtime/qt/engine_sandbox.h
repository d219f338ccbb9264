#pragma once

namespace runtime {

// Runs the engine's sandbox in every page's process where the system allows
// it: the engine refuses it to root, and without unprivileged user namespaces
// it has no sandbox to build. Where it cannot run, or when the caller asks for
// it off, it is turned off for all of the engine's processes; a sandbox lost
// to the system is said once on stderr, one the user turned off is not.
void ChooseEngineSandbox(bool turnedOff);

}  // namespace runtime
