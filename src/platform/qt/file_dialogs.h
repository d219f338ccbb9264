#pragma once

#include <QString>

class QWidget;

namespace platform {

// The shell's file dialogs. Each returns the chosen path, or an empty string
// when the user cancels or the dialog ends with its owner (may be null).
QString AskSaveFileName(QWidget* owner, const QString& suggestedPath);
QString AskOpenFileName(QWidget* owner);

}  // namespace platform
