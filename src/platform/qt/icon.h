#pragma once

#include <QIcon>

#include "platform/win_types.h"

namespace platform {

// An icon handle stands for a QIcon that lives as long as the process, like the
// shared icons the window system hands out.
HICON HandleFromIcon(const QIcon& icon);
QIcon IconFromHandle(HICON hIcon);

// Every image in a folder of the compiled-in resources, as the sizes of one icon.
QIcon IconFromResourceFolder(const char* path);

// The executable's own icon, as a desktop shows it: its icon resource with the
// lowest id, at every size it has.
QIcon ExecutableIcon();

// From now on the executable's icon is the image in this file, at the sizes the
// icon resources have (an app that names its own icon).
void UseApplicationIconFile(const QString& file);

}  // namespace platform
