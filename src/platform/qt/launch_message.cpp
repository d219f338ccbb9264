#include "platform/qt/launch_message.h"

namespace platform {

namespace {

// Names the format, so that a peer of another make or version is refused.
constexpr char kTag[] = "vintrel-launch-1";

bool IsSwitch(const std::string& argument) { return !argument.empty() && argument[0] == '-'; }

std::string Absolute(const std::string& path, const std::string& workingFolder) {
  if (path.empty() || path[0] == '/' || workingFolder.empty()) return path;
  return workingFolder.back() == '/' ? workingFolder + path : workingFolder + '/' + path;
}

}  // namespace

HandedLaunch LaunchFromCommandLine(int argc, char** argv, const std::string& workingFolder,
                                   const std::string& activationToken) {
  HandedLaunch launch;
  launch.activationToken = activationToken;
  for (int i = 1; i < argc; ++i) {
    const std::string argument(argv[i]);
    launch.arguments.push_back(IsSwitch(argument) ? argument : Absolute(argument, workingFolder));
  }
  return launch;
}

std::string EncodeLaunch(const HandedLaunch& launch) {
  std::string bytes(kTag);
  bytes += '\0';
  bytes += launch.activationToken;
  bytes += '\0';
  for (const std::string& argument : launch.arguments) {
    bytes += argument;
    bytes += '\0';
  }
  return bytes;
}

std::optional<HandedLaunch> DecodeLaunch(const std::string& bytes) {
  if (bytes.empty() || bytes.back() != '\0') return std::nullopt;
  std::vector<std::string> fields;
  for (size_t start = 0; start < bytes.size();) {
    const size_t end = bytes.find('\0', start);
    fields.push_back(bytes.substr(start, end - start));
    start = end + 1;
  }
  if (fields.size() < 2 || fields[0] != kTag) return std::nullopt;
  HandedLaunch launch;
  launch.activationToken = fields[1];
  launch.arguments.assign(fields.begin() + 2, fields.end());
  return launch;
}

}  // namespace platform
