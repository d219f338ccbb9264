#pragma once

#include <QColor>
#include <QPalette>
#include <QString>

#include "platform/visual_manager.h"

class QMenu;
class QWidget;

namespace platform {

QColor ColorOf(LookColor color);

// The current visual manager's style sheet for pop-up menus.
QString PopupMenuStyleSheet();
// Gives a pop-up menu the current look; every menu the application shows goes
// through here, the engine's context menu included.
void ApplyPopupMenuLook(QMenu& menu);

// The current visual manager's palette for dialogs and their controls.
QPalette DialogPalette();
void ApplyDialogLook(QWidget& dialog);

// Makes the look's colours those of every tooltip from now on.
void ApplyToolTipLook(const LookColors& colors);

}  // namespace platform
