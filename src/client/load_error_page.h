#pragma once

#include <string>

// The one-line page shown in place of a failed navigation. The address and the
// error text are HTML-escaped, so an address carrying markup shows as text, and
// the address shows its direction controls percent-encoded, as a URL writes
// them, so that it reads as it is.
std::string BuildLoadErrorPage(int errorCode, const std::string& errorTextUtf8,
                               const std::string& failedUrlUtf8);

// Percent-encodes the bidirectional marks, embeddings, overrides and isolates
// in a UTF-8 address; the rest stays as it is.
std::string EscapeDirectionControls(const std::string& address);

// Escapes &, <, >, " and ' for use in HTML text and attribute values.
std::string HtmlEscape(const std::string& text);
