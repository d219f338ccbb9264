#include "runtime/cef_string.h"

#include <cstdint>

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kMaxCodePoint = 0x10FFFF;
constexpr char32_t kSurrogateFirst = 0xD800;
constexpr char32_t kLowSurrogateFirst = 0xDC00;
constexpr char32_t kSurrogateLast = 0xDFFF;
constexpr char32_t kSupplementaryFirst = 0x10000;

bool IsSurrogate(char32_t c) { return c >= kSurrogateFirst && c <= kSurrogateLast; }
bool IsHighSurrogate(char32_t c) { return c >= kSurrogateFirst && c < kLowSurrogateFirst; }
bool IsLowSurrogate(char32_t c) { return c >= kLowSurrogateFirst && c <= kSurrogateLast; }

// How a UTF-8 lead byte goes on: the number of continuation bytes and the
// allowed range of the first of them (the others are always 0x80..0xBF). The
// narrowed first ranges rule out overlong forms, surrogates and values past
// U+10FFFF.
struct Utf8Lead {
  int continuationCount;
  uint8_t firstMin;
  uint8_t firstMax;
  char32_t initialBits;
};

bool LeadOf(uint8_t byte, Utf8Lead& lead) {
  if (byte >= 0xC2 && byte <= 0xDF)
    lead = {1, 0x80, 0xBF, char32_t(byte & 0x1F)};
  else if (byte == 0xE0)
    lead = {2, 0xA0, 0xBF, char32_t(byte & 0x0F)};
  else if (byte == 0xED)
    lead = {2, 0x80, 0x9F, char32_t(byte & 0x0F)};
  else if (byte >= 0xE1 && byte <= 0xEF)
    lead = {2, 0x80, 0xBF, char32_t(byte & 0x0F)};
  else if (byte == 0xF0)
    lead = {3, 0x90, 0xBF, char32_t(byte & 0x07)};
  else if (byte >= 0xF1 && byte <= 0xF3)
    lead = {3, 0x80, 0xBF, char32_t(byte & 0x07)};
  else if (byte == 0xF4)
    lead = {3, 0x80, 0x8F, char32_t(byte & 0x07)};
  else
    return false;
  return true;
}

// Decodes one code point at pos and moves past it. A malformed sequence yields
// one U+FFFD for its longest valid prefix (at least one byte).
char32_t DecodeUtf8(const std::string& in, size_t& pos) {
  const uint8_t byte = static_cast<uint8_t>(in[pos++]);
  if (byte < 0x80) return byte;
  Utf8Lead lead;
  if (!LeadOf(byte, lead)) return kReplacement;
  char32_t value = lead.initialBits;
  for (int i = 0; i < lead.continuationCount; ++i) {
    if (pos >= in.size()) return kReplacement;
    const uint8_t next = static_cast<uint8_t>(in[pos]);
    const uint8_t min = i == 0 ? lead.firstMin : 0x80;
    const uint8_t max = i == 0 ? lead.firstMax : 0xBF;
    if (next < min || next > max) return kReplacement;
    value = (value << 6) | (next & 0x3F);
    ++pos;
  }
  return value;
}

// Decodes one code point at pos and moves past it; an unpaired surrogate
// yields U+FFFD.
char32_t DecodeUtf16(const std::u16string& in, size_t& pos) {
  const char32_t unit = in[pos++];
  if (!IsSurrogate(unit)) return unit;
  if (IsHighSurrogate(unit) && pos < in.size() && IsLowSurrogate(in[pos])) {
    const char32_t low = in[pos++];
    return kSupplementaryFirst + ((unit - kSurrogateFirst) << 10) + (low - kLowSurrogateFirst);
  }
  return kReplacement;
}

char32_t Sanitized(char32_t c) { return (c > kMaxCodePoint || IsSurrogate(c)) ? kReplacement : c; }

void AppendUtf16(std::u16string& out, char32_t c) {
  if (c < kSupplementaryFirst) {
    out.push_back(static_cast<char16_t>(c));
    return;
  }
  c -= kSupplementaryFirst;
  out.push_back(static_cast<char16_t>(kSurrogateFirst + (c >> 10)));
  out.push_back(static_cast<char16_t>(kLowSurrogateFirst + (c & 0x3FF)));
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < kSupplementaryFirst) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

constexpr bool kWideIsUtf16 = sizeof(wchar_t) == sizeof(char16_t);

}  // namespace

namespace cef_string {

std::u16string Utf8ToUtf16(const std::string& utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  for (size_t pos = 0; pos < utf8.size();) AppendUtf16(out, DecodeUtf8(utf8, pos));
  return out;
}

std::string Utf16ToUtf8(const std::u16string& utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (size_t pos = 0; pos < utf16.size();) AppendUtf8(out, DecodeUtf16(utf16, pos));
  return out;
}

std::u16string WideToUtf16(const std::wstring& wide) {
  std::u16string out;
  out.reserve(wide.size());
  if constexpr (kWideIsUtf16) {
    const std::u16string units(wide.begin(), wide.end());
    for (size_t pos = 0; pos < units.size();) AppendUtf16(out, DecodeUtf16(units, pos));
  } else {
    for (wchar_t c : wide) AppendUtf16(out, Sanitized(static_cast<char32_t>(c)));
  }
  return out;
}

std::wstring Utf16ToWide(const std::u16string& utf16) {
  std::wstring out;
  out.reserve(utf16.size());
  for (size_t pos = 0; pos < utf16.size();) {
    const char32_t c = DecodeUtf16(utf16, pos);
    if constexpr (kWideIsUtf16) {
      std::u16string units;
      AppendUtf16(units, c);
      out.append(units.begin(), units.end());
    } else {
      out.push_back(static_cast<wchar_t>(c));
    }
  }
  return out;
}

}  // namespace cef_string

CefString::CefString(const char* utf8)
    : str_(utf8 ? cef_string::Utf8ToUtf16(utf8) : std::u16string()) {}
CefString::CefString(const std::string& utf8) : str_(cef_string::Utf8ToUtf16(utf8)) {}
CefString::CefString(const wchar_t* wide)
    : str_(wide ? cef_string::WideToUtf16(wide) : std::u16string()) {}
CefString::CefString(const std::wstring& wide) : str_(cef_string::WideToUtf16(wide)) {}

std::string CefString::ToString() const { return cef_string::Utf16ToUtf8(str_); }
std::wstring CefString::ToWString() const { return cef_string::Utf16ToWide(str_); }
