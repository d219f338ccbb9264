#pragma once

#include <functional>

class QDialog;
class QWidget;

namespace platform {

// Runs a dialog modally and returns its result. The dialog belongs to the caller
// alone and must have no parent: `owner` (may be null) only lends its window for
// placement, and if the owner goes while the dialog is open the dialog ends as
// if cancelled. So nothing is deleted twice, whichever of the two goes first.
int RunModal(QDialog& dialog, QWidget* owner = nullptr);

// Whether a dialog runs through RunModal now.
bool ModalDialogRunning();

// Ends every running modal dialog as if cancelled, with any modal question of the
// toolkit's own open above them; `then` runs on the event loop
// once the last of them has returned to its caller. Until then no further modal
// dialog opens: each returns as cancelled at once.
void EndModalDialogsThen(std::function<void()> then);

}  // namespace platform
