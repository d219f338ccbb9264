#include <gtest/gtest.h>

#include "runtime/qt/engine_features.h"

namespace runtime_test {
namespace {

struct FlagsCase {
  const char* name;
  const char* given;
  const char* expected;
};

class SharedWorkersOffTest : public testing::TestWithParam<FlagsCase> {};

TEST_P(SharedWorkersOffTest, JoinsTheFeaturesTurnedOffBefore) {
  EXPECT_EQ(runtime::FlagsWithSharedWorkersOff(GetParam().given), QByteArray(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Table, SharedWorkersOffTest,
    testing::Values(FlagsCase{"none", "", "--disable-blink-features=SharedWorker"},
                    FlagsCase{"others_kept", "--no-sandbox  --lang=de",
                              "--no-sandbox --lang=de --disable-blink-features=SharedWorker"},
                    FlagsCase{"features_joined", "--disable-blink-features=A,B --x",
                              "--x --disable-blink-features=A,B,SharedWorker"},
                    FlagsCase{"repeated_switches_joined",
                              "--disable-blink-features=A --disable-blink-features=B,A",
                              "--disable-blink-features=A,B,SharedWorker"},
                    FlagsCase{"already_off", "--disable-blink-features=SharedWorker",
                              "--disable-blink-features=SharedWorker"}),
    [](const testing::TestParamInfo<FlagsCase>& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace runtime_test
