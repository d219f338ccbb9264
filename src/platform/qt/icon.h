#pragma once

#include <QIcon>

#include "platform/win_types.h"

namespace platform {

// An icon handle stands for a QIcon that lives as long as the process, like the
// shared icons the window system hands out.
HICON HandleFromIcon(const QIcon& icon);
QIcon IconFromHandle(HICON hIcon);

}  // namespace platform
