#include <gtest/gtest.h>

#include "client/simple_handler.h"
#include "fakes/fake_runtime.h"

namespace {

struct ErrorPageCase {
  const char* name;
  int code;
  std::string text;
  std::string url;
  std::string page;
};

// Test output names the case; printed byte by byte it would show the padding.
void PrintTo(const ErrorPageCase& c, std::ostream* os) { *os << c.name; }

class LoadErrorPageTest : public ::testing::TestWithParam<ErrorPageCase> {};

TEST_P(LoadErrorPageTest, ShowsTheOneLinePageUnderTheFailedAddress) {
  const ErrorPageCase& c = GetParam();
  CefRefPtr<SimpleHandler> handler = new SimpleHandler;
  CefRefPtr<FakeFrame> frame = new FakeFrame;
  handler->OnLoadError(nullptr, frame, c.code, c.text, c.url);
  ASSERT_EQ(frame->loadedStrings.size(), 1u);
  EXPECT_EQ(frame->loadedStrings[0].html, c.page);
  EXPECT_EQ(frame->loadedStrings[0].url, c.url);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, LoadErrorPageTest,
    ::testing::Values(
        ErrorPageCase{
            "PlainAddress", -105, "net::ERR_NAME_NOT_RESOLVED", "http://no-such-host.invalid/",
            "<html><body bgcolor=\"white\"><h2>Failed to load URL http://no-such-host.invalid/ "
            "with error net::ERR_NAME_NOT_RESOLVED (-105).</h2></body></html>"},
        ErrorPageCase{"EmptyAddressLeavesTwoSpaces", -6, "net::ERR_FILE_NOT_FOUND", "",
                      "<html><body bgcolor=\"white\"><h2>Failed to load URL  with error "
                      "net::ERR_FILE_NOT_FOUND (-6).</h2></body></html>"},
        ErrorPageCase{
            "NonAsciiKeptAsIs", -105, "échec ✗", "http://bücher.invalid/路径",
            "<html><body bgcolor=\"white\"><h2>Failed to load URL http://bücher.invalid/路径 "
            "with error échec ✗ (-105).</h2></body></html>"},
        ErrorPageCase{"MarkupInTheAddressIsEscaped", -105, "<b>&'\"",
                      "http://x.invalid/?q=<script>alert('x')</script>&a=\"1\"",
                      "<html><body bgcolor=\"white\"><h2>Failed to load URL "
                      "http://x.invalid/?q=&lt;script&gt;alert(&#39;x&#39;)&lt;/"
                      "script&gt;&amp;a=&quot;1&quot; "
                      "with error &lt;b&gt;&amp;&#39;&quot; (-105).</h2></body></html>"},
        ErrorPageCase{"DirectionControlsInTheAddressAreEncoded", -105, "net::ERR_NAME_NOT_RESOLVED",
                      "http://x.invalid/\u202Egpj.exe?\u2066a\u2069\u200F\u061C",
                      "<html><body bgcolor=\"white\"><h2>Failed to load URL "
                      "http://x.invalid/%E2%80%AEgpj.exe?%E2%81%A6a%E2%81%A9%E2%80%8F%D8%9C "
                      "with error net::ERR_NAME_NOT_RESOLVED (-105).</h2></body></html>"},
        ErrorPageCase{
            "PositiveAndFutureCodes", 7, "odd", "u",
            "<html><body bgcolor=\"white\"><h2>Failed to load URL u with error odd (7).</h2>"
            "</body></html>"}),
    [](const ::testing::TestParamInfo<ErrorPageCase>& testCase) { return testCase.param.name; });

TEST(LoadErrorTest, CancelledNavigationLeavesTheFrameAlone) {
  CefRefPtr<SimpleHandler> handler = new SimpleHandler;
  CefRefPtr<FakeFrame> frame = new FakeFrame;
  handler->OnLoadError(nullptr, frame, ERR_ABORTED, "net::ERR_ABORTED", "http://a.invalid/");
  EXPECT_TRUE(frame->loadedStrings.empty());
  EXPECT_TRUE(frame->loadedUrls.empty());
}

}  // namespace
