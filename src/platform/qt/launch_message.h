#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

// What a later launch hands to the shell that already runs on its storage folder.
struct HandedLaunch {
  std::vector<std::string> arguments;
  // The token its launcher gave it for activating a window, or empty.
  std::string activationToken;
};

// The launch of this process as the running shell should see it: the arguments
// after argv[0], those that are not switches made absolute against workingFolder.
HandedLaunch LaunchFromCommandLine(int argc, char** argv, const std::string& workingFolder,
                                   const std::string& activationToken);

// The bytes on the wire: a tag, the token and each argument, each ended by a NUL.
// No field holds a NUL itself, since they come from a command line and the environment.
std::string EncodeLaunch(const HandedLaunch& launch);
// Nothing for bytes that are not a whole launch of this format.
std::optional<HandedLaunch> DecodeLaunch(const std::string& bytes);

}  // namespace platform
