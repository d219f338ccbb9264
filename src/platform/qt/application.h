#pragma once

namespace platform {

// The process's Qt application, made from the application object's command line
// if the engine has not made it already.
void EnsureApplication();

// Ends the Qt application, after the objects still waiting for deletion: what
// the toolkit and the engine run on stops here, in order, and not in the
// middle of the process's static destruction.
void EndApplication();

}  // namespace platform
