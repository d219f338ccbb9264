#pragma once

namespace platform {

// Shows the shell's windows to assistive technologies as a user sees them: each
// top-level window a frame named by its title, with the buttons its owner draws
// on its caption as push buttons that can be pressed, and the application with
// its windows only. Qt asks for none of it until an assistive technology turns
// its accessibility on. Installing it twice installs it once.
void InstallWindowAccessibility();

}  // namespace platform
