#include "client/load_error_page.h"

#include <cstdio>
#include <sstream>
#include <string_view>

namespace {

// UTF-8 forms of the characters that change the direction of the text around
// them while showing nothing themselves: marks, embeddings, overrides and
// isolates. In a shown address they could make it read as another.
constexpr const char* kDirectionControls[] = {
    "\xD8\x9C",                                                                      // U+061C
    "\xE2\x80\x8E", "\xE2\x80\x8F",                                                  // U+200E-200F
    "\xE2\x80\xAA", "\xE2\x80\xAB", "\xE2\x80\xAC", "\xE2\x80\xAD", "\xE2\x80\xAE",  // U+202A-202E
    "\xE2\x81\xA6", "\xE2\x81\xA7", "\xE2\x81\xA8", "\xE2\x81\xA9",                  // U+2066-2069
};

// The length of the direction control that text starts with at position, or 0.
size_t DirectionControlAt(const std::string& text, size_t position) {
  for (const char* control : kDirectionControls) {
    const std::string_view form(control);
    if (text.compare(position, form.size(), form) == 0) return form.size();
  }
  return 0;
}

}  // namespace

std::string EscapeDirectionControls(const std::string& address) {
  std::string escaped;
  escaped.reserve(address.size());
  for (size_t i = 0; i < address.size();) {
    const size_t length = DirectionControlAt(address, i);
    if (length == 0) {
      escaped += address[i++];
      continue;
    }
    for (const size_t end = i + length; i < end; ++i) {
      char byte[4];
      std::snprintf(byte, sizeof(byte), "%%%02X", static_cast<unsigned char>(address[i]));
      escaped += byte;
    }
  }
  return escaped;
}

std::string HtmlEscape(const std::string& text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\'':
        escaped += "&#39;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::string BuildLoadErrorPage(int errorCode, const std::string& errorTextUtf8,
                               const std::string& failedUrlUtf8) {
  std::stringstream ss;
  ss << "<html><body bgcolor=\"white\"><h2>Failed to load URL "
     << HtmlEscape(EscapeDirectionControls(failedUrlUtf8)) << " with error "
     << HtmlEscape(errorTextUtf8) << " (" << errorCode << ").</h2></body></html>";
  return ss.str();
}
