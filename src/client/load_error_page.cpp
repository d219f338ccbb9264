#include "client/load_error_page.h"

#include <sstream>

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
  ss << "<html><body bgcolor=\"white\"><h2>Failed to load URL " << HtmlEscape(failedUrlUtf8)
     << " with error " << HtmlEscape(errorTextUtf8) << " (" << errorCode << ").</h2></body></html>";
  return ss.str();
}
