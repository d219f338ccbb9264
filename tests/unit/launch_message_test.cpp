#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/qt/launch_message.h"

namespace {

using platform::DecodeLaunch;
using platform::EncodeLaunch;
using platform::HandedLaunch;
using platform::LaunchFromCommandLine;

TEST(LaunchMessage, PathsBecomeAbsoluteAgainstTheLaunchFolderAndSwitchesStay) {
  char program[] = "vintrel", relative[] = "docs/a b.txt", absolute[] = "/tmp/x.txt",
       shellSwitch[] = "-register", engineSwitch[] = "--lang=de", parent[] = "../up.txt";
  char* argv[] = {program, relative, absolute, shellSwitch, engineSwitch, parent};
  const HandedLaunch launch = LaunchFromCommandLine(6, argv, "/home/u/app", "token-1");
  EXPECT_EQ(launch.arguments,
            (std::vector<std::string>{"/home/u/app/docs/a b.txt", "/tmp/x.txt", "-register",
                                      "--lang=de", "/home/u/app/../up.txt"}));
  EXPECT_EQ(launch.activationToken, "token-1");
}

TEST(LaunchMessage, RoundTripsWhateverACommandLineHolds) {
  const HandedLaunch cases[] = {
      {{}, ""},
      {{""}, "t"},
      {{"/a/b", "--x=1", "ünïcödé\n line"}, "kwin-42_ab.c"},
  };
  for (const HandedLaunch& launch : cases) {
    const auto decoded = DecodeLaunch(EncodeLaunch(launch));
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->arguments, launch.arguments);
    EXPECT_EQ(decoded->activationToken, launch.activationToken);
  }
}

TEST(LaunchMessage, RefusesWhatIsNotAWholeLaunch) {
  const std::string whole = EncodeLaunch({{"/a"}, "t"});
  const std::string cases[] = {
      "",
      whole.substr(0, whole.size() - 1),           // cut off
      std::string("other-format-1\0t\0/a\0", 21),  // another tag
      std::string("vintrel-launch-1\0", 17),       // no token field
      "vintrel-launch-1",                          // no terminator at all
  };
  for (const std::string& bytes : cases) EXPECT_FALSE(DecodeLaunch(bytes).has_value()) << bytes;
}

}  // namespace
