#pragma once

#include <QString>

namespace runtime {

// Chromium's generic failure, for names the table below does not know.
constexpr int kNetErrorFailed = -2;

// Chromium's number for a network error name such as "ERR_FILE_NOT_FOUND"
// (with or without the "net::" prefix); kNetErrorFailed when unknown.
int NetErrorCodeOf(const QString& name);

// The "net::"-prefixed text Chromium uses for an error name.
QString NetErrorTextOf(const QString& name);

}  // namespace runtime
