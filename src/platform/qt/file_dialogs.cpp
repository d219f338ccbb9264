#include "platform/qt/file_dialogs.h"

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QStyle>

namespace platform {

namespace {

// Qt's own provider fills its icons in lazily, unguarded, from the dialog's
// file-information thread and from the GUI thread at once, and looks them up
// in the icon theme from that thread too: a race that corrupts the heap now
// and then. Every icon here is made up front, in the GUI thread, and only
// copied afterwards, which is safe from any thread.
class PreparedIconProvider : public QAbstractFileIconProvider {
 public:
  PreparedIconProvider()
      : m_computer(StandardIcon(QStyle::SP_ComputerIcon)),
        m_desktop(StandardIcon(QStyle::SP_DesktopIcon)),
        m_trashcan(StandardIcon(QStyle::SP_TrashIcon)),
        m_network(StandardIcon(QStyle::SP_DriveNetIcon)),
        m_drive(StandardIcon(QStyle::SP_DriveHDIcon)),
        m_folder(StandardIcon(QStyle::SP_DirIcon)),
        m_file(StandardIcon(QStyle::SP_FileIcon)) {}

  QIcon icon(IconType type) const override {
    switch (type) {
      case Computer:
        return m_computer;
      case Desktop:
        return m_desktop;
      case Trashcan:
        return m_trashcan;
      case Network:
        return m_network;
      case Drive:
        return m_drive;
      case Folder:
        return m_folder;
      case File:
        break;
    }
    return m_file;
  }

  QIcon icon(const QFileInfo& info) const override {
    if (info.isRoot()) return m_drive;
    return info.isDir() ? m_folder : m_file;
  }

 private:
  static QIcon StandardIcon(QStyle::StandardPixmap pixmap) {
    return QApplication::style()->standardIcon(pixmap);
  }

  const QIcon m_computer;
  const QIcon m_desktop;
  const QIcon m_trashcan;
  const QIcon m_network;
  const QIcon m_drive;
  const QIcon m_folder;
  const QIcon m_file;
};

QString ChosenFile(QFileDialog& dialog, PreparedIconProvider& icons) {
  // Set before the dialog shows; from then on its thread asks only these.
  dialog.setIconProvider(&icons);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().constFirst();
}

}  // namespace

// The icons are declared before the dialog: its thread uses them until it ends.

QString AskSaveFileName(QWidget* parent, const QString& suggestedPath) {
  PreparedIconProvider icons;
  QFileDialog dialog(parent, QString(), suggestedPath);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  return ChosenFile(dialog, icons);
}

QString AskOpenFileName(QWidget* parent) {
  PreparedIconProvider icons;
  QFileDialog dialog(parent);
  dialog.setFileMode(QFileDialog::ExistingFile);
  return ChosenFile(dialog, icons);
}

}  // namespace platform
