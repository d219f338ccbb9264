#include <gtest/gtest.h>

#include "runtime/cef_string.h"
#include "runtime/cef_types.h"

namespace {

struct Utf8Case {
  const char* name;
  std::string utf8;
  std::u16string utf16;
};

// Malformed input becomes one U+FFFD per maximal invalid subpart.
const Utf8Case kUtf8Cases[] = {
    {"empty", "", u""},
    {"ascii", "Refresh", u"Refresh"},
    {"two_byte", "na\xC3\xAFve", u"na\u00EFve"},
    {"three_byte_cjk", "\xE5\x85\xB3\xE4\xBA\x8E", u"\u5173\u4E8E"},
    {"four_byte_pair", "\xF0\x9F\x98\x80", u"\U0001F600"},
    {"lone_continuation", "a\x80z", u"a\uFFFDz"},
    {"truncated_sequence", "a\xE5\x85", u"a\uFFFD"},
    {"truncated_then_ascii", "\xE5\x85z", u"\uFFFDz"},
    {"overlong_slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
    {"encoded_surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
    {"beyond_max", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
    {"invalid_byte", "\xFF", u"\uFFFD"},
};

class Utf8ToUtf16Test : public testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8ToUtf16Test, DecodesAndReplacesMalformedInput) {
  EXPECT_EQ(cef_string::Utf8ToUtf16(GetParam().utf8), GetParam().utf16);
}

INSTANTIATE_TEST_SUITE_P(Table, Utf8ToUtf16Test, testing::ValuesIn(kUtf8Cases),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(CefStringTest, WellFormedTextSurvivesEveryRoundTrip) {
  const std::string utf8 = "v5.7.2 \xE5\x85\xB3 \xC3\xA9 \xF0\x9F\x98\x80";
  const CefString text(utf8);
  EXPECT_EQ(text.ToString(), utf8);
  EXPECT_EQ(CefString(text.ToWString()), text);
  EXPECT_EQ(text.ToWString(), L"v5.7.2 \u5173 \u00E9 \U0001F600");
}

TEST(CefStringTest, UnpairedSurrogatesBecomeReplacementCharacters) {
  const std::u16string loneHigh =
      u"a\xD83D"
      u"b";
  const std::u16string loneLow = u"\xDE00";
  EXPECT_EQ(cef_string::Utf16ToUtf8(loneHigh),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(cef_string::Utf16ToWide(loneLow), L"\uFFFD");
  EXPECT_EQ(cef_string::WideToUtf16(std::wstring{wchar_t(0xD800), wchar_t(0x110000)}),
            u"\uFFFD\uFFFD");
}

TEST(CefStringTest, NullPointersMakeEmptyStrings) {
  EXPECT_TRUE(CefString(static_cast<const char*>(nullptr)).empty());
  EXPECT_TRUE(CefString(static_cast<const wchar_t*>(nullptr)).empty());
}

TEST(CefWindowInfoTest, SetAsPopupAsksForADefaultPlacedOwnedWindow) {
  CefWindowInfo info;
  HWND owner = reinterpret_cast<HWND>(0x1234);
  info.SetAsPopup(owner, "DevTools");
  EXPECT_EQ(info.style, 0x16CF0000u);
  EXPECT_EQ(info.parent_window, owner);
  EXPECT_EQ(info.window_name.ToString(), "DevTools");
  for (int coordinate : {info.x, info.y, info.width, info.height})
    EXPECT_EQ(coordinate, CW_USEDEFAULT);
  EXPECT_EQ(info.ex_style, 0u);
}

}  // namespace
