#include "runtime/profile_storage.h"

#include "runtime/qt/qt_strings.h"
#include "runtime/qt/storage_folder.h"

std::string CefProfileStorageFolder(const CefString& cachePath) {
  return runtime::ProfileStorageFolder(runtime::ToQString(cachePath)).toStdString();
}
