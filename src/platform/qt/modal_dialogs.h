#pragma once

#include <functional>

class QAction;
class QDialog;
class QMenu;
class QPoint;
class QWidget;

namespace platform {

// Runs a dialog modally and returns its result. The dialog belongs to the caller
// alone and must have no parent: `owner` (may be null) only lends its window for
// placement, and if the owner goes while the dialog is open the dialog ends as
// if cancelled. So nothing is deleted twice, whichever of the two goes first.
int RunModal(QDialog& dialog, QWidget* owner = nullptr);

// Runs a pop-up menu the same way: the menu has no parent, and ending the modal
// dialogs closes it as if dismissed. Returns the chosen action, or null.
QAction* RunPopupMenu(QMenu& menu, const QPoint& at);

// Whether a dialog or menu runs through RunModal or RunPopupMenu now.
bool ModalDialogRunning();

// Ends every running modal dialog as if cancelled, with any modal question of the
// toolkit's own open above them; `then` runs on the event loop
// once the last of them has returned to its caller. Until then no further modal
// dialog opens: each returns as cancelled at once.
void EndModalDialogsThen(std::function<void()> then);

}  // namespace platform
