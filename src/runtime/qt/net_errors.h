#pragma once

#include <QString>

#include <optional>

namespace runtime {

// Chromium's number for a network error name such as "ERR_FILE_NOT_FOUND"
// (with or without the "net::" prefix); none for a name Chromium does not
// define, since any number given to it would be made up.
std::optional<int> NetErrorCodeOf(const QString& name);

// The "net::"-prefixed text Chromium uses for an error name.
QString NetErrorTextOf(const QString& name);

}  // namespace runtime
