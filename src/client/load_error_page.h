#pragma once

#include <string>

// The one-line page shown in place of a failed navigation. The address and the
// error text are HTML-escaped, so an address carrying markup shows as text.
std::string BuildLoadErrorPage(int errorCode, const std::string& errorTextUtf8,
                               const std::string& failedUrlUtf8);

// Escapes &, <, >, " and ' for use in HTML text and attribute values.
std::string HtmlEscape(const std::string& text);
