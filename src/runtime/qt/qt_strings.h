#pragma once

#include <QString>

#include "runtime/cef_string.h"

namespace runtime {

// Both string types are UTF-16, so these copy without converting.
inline QString ToQString(const CefString& text) {
  return QString::fromStdU16String(text.ToString16());
}
inline CefString ToCefString(const QString& text) { return CefString(text.toStdU16String()); }

}  // namespace runtime
