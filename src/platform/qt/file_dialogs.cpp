#include "platform/qt/file_dialogs.h"

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QStyle>

#include "platform/qt/modal_dialogs.h"

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

// A file dialog that asks only prepared icons, from before it shows. The icons
// are declared first, so they outlive the dialog and the thread it ends with.
// The dialog has no parent: it is this object's alone, whatever happens to the
// window it is asked for.
class PreparedFileDialog {
 public:
  explicit PreparedFileDialog(const QString& directory = QString())
      : m_dialog(nullptr, QString(), directory) {
    m_dialog.setIconProvider(&m_icons);
  }

  QFileDialog* operator->() { return &m_dialog; }

  QString chosenFile(QWidget* owner) {
    if (RunModal(m_dialog, owner) != QDialog::Accepted || m_dialog.selectedFiles().isEmpty())
      return QString();
    return m_dialog.selectedFiles().constFirst();
  }

 private:
  PreparedIconProvider m_icons;
  QFileDialog m_dialog;
};

}  // namespace

QString AskSaveFileName(QWidget* owner, const QString& suggestedPath) {
  PreparedFileDialog dialog(suggestedPath);
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  return dialog.chosenFile(owner);
}

QString AskOpenFileName(QWidget* owner) {
  PreparedFileDialog dialog;
  dialog->setFileMode(QFileDialog::ExistingFile);
  return dialog.chosenFile(owner);
}

}  // namespace platform
