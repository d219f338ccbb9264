#pragma once

#include <QString>

class QWidget;

namespace platform {

// The shell's file dialogs. Each returns the chosen path, or an empty string
// when the user cancels.
QString AskSaveFileName(QWidget* parent, const QString& suggestedPath);
QString AskOpenFileName(QWidget* parent);

}  // namespace platform
