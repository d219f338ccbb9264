#include <QString>

#include <gtest/gtest.h>

#include <optional>

#include "runtime/qt/frame_errors.h"
#include "runtime/qt/net_errors.h"

namespace runtime_test {
namespace {

struct NameCase {
  const char* name;
  std::optional<int> code;
};

class NetErrorNameTest : public testing::TestWithParam<NameCase> {};

TEST_P(NetErrorNameTest, KnownNamesGetChromiumsNumberAndOthersNone) {
  EXPECT_EQ(runtime::NetErrorCodeOf(GetParam().name), GetParam().code) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, NetErrorNameTest,
    testing::Values(NameCase{"ERR_NAME_NOT_RESOLVED", -105},
                    NameCase{"net::ERR_FILE_NOT_FOUND", -6}, NameCase{"IO_PENDING", -1},
                    NameCase{"ERR_BLOCKED_ENROLLMENT_CHECK_PENDING", -24},  // retired after 102
                    NameCase{"ERR_INCONSISTENT_IP_ADDRESS_SPACE", -383},
                    NameCase{"ERR_DNS_REQUEST_CANCELLED", -810},
                    NameCase{"ERR_BLOCKED_BY_ORB", std::nullopt},  // newer than the engine
                    NameCase{"ERR_<unknown>", std::nullopt},       // the engine's name for no name
                    NameCase{"ERR_", std::nullopt}, NameCase{"", std::nullopt}));

QString Report(const char* errorName) {
  return QString::fromLatin1(
             "\x01vintrel-frame-load-error "
             "{\"vintrelFrameToken\":\"t1\",\"path\":[1,0],\"error\":\"%1\",\"url\":\"http://"
             "x.invalid/\"}")
      .arg(QLatin1String(errorName));
}

TEST(FrameErrorReportTest, CarriesTheNumberOfAKnownNameAndNothingForAnUnknownOne) {
  const std::optional<runtime::FrameLoadError> known =
      runtime::ParseFrameErrorReport(Report("ERR_CONNECTION_REFUSED"));
  ASSERT_TRUE(known);
  EXPECT_EQ(known->code, -102);
  EXPECT_EQ(known->text, "net::ERR_CONNECTION_REFUSED");
  EXPECT_EQ(known->url, "http://x.invalid/");
  EXPECT_EQ(known->frame.token, "t1");
  EXPECT_EQ(known->frame.path, QList<int>({1, 0}));
  // No number is made up: the frame keeps the engine's own page, which names the error.
  EXPECT_FALSE(runtime::ParseFrameErrorReport(Report("ERR_SOMETHING_NEW")));
}

}  // namespace
}  // namespace runtime_test
