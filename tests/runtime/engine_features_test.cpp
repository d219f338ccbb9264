#include <gtest/gtest.h>

#include "runtime/qt/engine_features.h"

namespace runtime_test {
namespace {

struct FlagsCase {
  const char* name;
  const char* given;
  const char* expected;
};

class UnguardedWorkersOffTest : public testing::TestWithParam<FlagsCase> {};

TEST_P(UnguardedWorkersOffTest, JoinsTheFeaturesTurnedOffBefore) {
  EXPECT_EQ(runtime::FlagsWithUnguardedWorkersOff(GetParam().given),
            QByteArray(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Table, UnguardedWorkersOffTest,
    testing::Values(
        FlagsCase{"none", "",
                  "--disable-blink-features=SharedWorker --disable-features=PlzDedicatedWorker"},
        FlagsCase{"others_kept", "--no-sandbox  --lang=de",
                  "--no-sandbox --lang=de --disable-blink-features=SharedWorker "
                  "--disable-features=PlzDedicatedWorker"},
        FlagsCase{"lists_joined", "--disable-blink-features=A,B --x --disable-features=C",
                  "--x --disable-blink-features=A,B,SharedWorker "
                  "--disable-features=C,PlzDedicatedWorker"},
        FlagsCase{"repeated_switches_joined",
                  "--disable-blink-features=A --disable-blink-features=B,A",
                  "--disable-blink-features=A,B,SharedWorker "
                  "--disable-features=PlzDedicatedWorker"},
        FlagsCase{"turned_on_stays_given", "--enable-features=PlzDedicatedWorker",
                  "--enable-features=PlzDedicatedWorker --disable-blink-features=SharedWorker "
                  "--disable-features=PlzDedicatedWorker"},
        FlagsCase{"already_off",
                  "--disable-features=PlzDedicatedWorker --disable-blink-features=SharedWorker",
                  "--disable-blink-features=SharedWorker --disable-features=PlzDedicatedWorker"}),
    [](const testing::TestParamInfo<FlagsCase>& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace runtime_test
