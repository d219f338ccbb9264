#pragma once

namespace platform {

// The process's Qt application, made from the application object's command line
// if the engine has not made it already.
void EnsureApplication();

}  // namespace platform
