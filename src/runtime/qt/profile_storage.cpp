#include "runtime/profile_storage.h"

#include <QGuiApplication>

#include "runtime/qt/qt_strings.h"
#include "runtime/qt/storage_folder.h"

std::string CefProfileStorageFolder(const CefString& cachePath) {
  // As the profile resolves it: the app's id is the desktop file the toolkit knows it by.
  return runtime::ProfileStorageFolder(runtime::ToQString(cachePath),
                                       QGuiApplication::desktopFileName())
      .toStdString();
}
