#pragma once

#include <QVariant>

#include "platform/win_types.h"

namespace platform {

// The registry profile: QSettings under organisation registryKey, application appName.
void SetProfileLocation(LPCWSTR registryKey, LPCWSTR appName);
// An invalid QVariant when the value does not exist or no profile is set.
QVariant ReadProfileValue(LPCWSTR section, LPCWSTR entry);
// An invalid value removes the entry. FALSE when the store cannot be written.
BOOL WriteProfileValue(LPCWSTR section, LPCWSTR entry, const QVariant& value);

}  // namespace platform
