#pragma once

#include <string>

// The runtime's string type: UTF-16 inside, built from and turned back into UTF-8
// or wide strings.
class CefString {
 public:
  CefString() = default;
  CefString(const char* utf8);
  CefString(const std::string& utf8);
  CefString(const wchar_t* wide);
  CefString(const std::wstring& wide);
  CefString(std::u16string utf16) : str_(std::move(utf16)) {}

  std::string ToString() const;
  std::wstring ToWString() const;
  const std::u16string& ToString16() const { return str_; }
  const char16_t* c_str() const { return str_.c_str(); }
  size_t length() const { return str_.length(); }
  bool empty() const { return str_.empty(); }
  void clear() { str_.clear(); }

  bool operator==(const CefString& other) const { return str_ == other.str_; }
  bool operator!=(const CefString& other) const { return str_ != other.str_; }

 private:
  std::u16string str_;
};

namespace cef_string {
// Conversions that replace malformed input with U+FFFD.
std::u16string Utf8ToUtf16(const std::string& utf8);
std::string Utf16ToUtf8(const std::u16string& utf16);
std::u16string WideToUtf16(const std::wstring& wide);
std::wstring Utf16ToWide(const std::u16string& utf16);
}  // namespace cef_string
