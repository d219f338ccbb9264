#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/qt/engine_environment.h"

namespace {

struct SwitchCase {
  const char* name;
  std::vector<const char*> args;  // after the program name
  const char* existing;
  const char* expected;
};

const SwitchCase kSwitchCases[] = {
    {"switches_join_existing_flags",
     {"--remote-debugging-port=9222", "--lang=de"},
     "--disable-gpu",
     "--disable-gpu --remote-debugging-port=9222 --lang=de"},
    {"plain_arguments_and_qt_options_stay_out", {"page.html", "-style", "fusion", "--"}, "", ""},
    {"engine_marker_lets_the_engine_read_them", {"--webEngineArgs", "--lang=de"}, "", ""},
};

class EngineSwitchTest : public testing::TestWithParam<SwitchCase> {};

TEST_P(EngineSwitchTest, ForwardsChromiumSwitches) {
  std::vector<char*> argv{const_cast<char*>("vintrel")};
  for (const char* arg : GetParam().args) argv.push_back(const_cast<char*>(arg));
  const CefMainArgs args(static_cast<int>(argv.size()), argv.data());
  EXPECT_EQ(runtime::EngineFlagsWithSwitches(GetParam().existing, args),
            QByteArray(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Table, EngineSwitchTest, testing::ValuesIn(kSwitchCases),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(EngineProcessTest, OnlyATypeSwitchMarksASubProcess) {
  char program[] = "vintrel";
  char type[] = "--type=zygote";
  char other[] = "--typed=x";
  char* subArgv[] = {program, other, type, nullptr};
  char* mainArgv[] = {program, other, nullptr};
  EXPECT_TRUE(runtime::IsEngineSubprocess(CefMainArgs(3, subArgv)));
  EXPECT_FALSE(runtime::IsEngineSubprocess(CefMainArgs(2, mainArgv)));
  EXPECT_FALSE(runtime::IsEngineSubprocess(CefMainArgs()));
}

}  // namespace
