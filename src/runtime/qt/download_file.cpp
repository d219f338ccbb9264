#include "runtime/qt/download_file.h"
#include "runtime/qt/download_name.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace runtime {

namespace {

// Hidden, and named after the download with a unique part that QTemporaryDir fills in.
constexpr char kFolderPrefix[] = ".";
constexpr char kFolderSuffix[] = ".XXXXXX.part";
constexpr int kFolderAffixBytes = int(sizeof(kFolderPrefix) - 1 + sizeof(kFolderSuffix) - 1);

}  // namespace

QString MakeDownloadFolder(const QString& targetPath) {
  const QFileInfo target(targetPath);
  // The folder's name is the target's, cut so that any name the file system takes fits.
  const QString name = CutToBytes(target.fileName(), kMaxFileNameBytes - kFolderAffixBytes);
  QTemporaryDir folder(
      target.dir().filePath(QLatin1String(kFolderPrefix) + name + QLatin1String(kFolderSuffix)));
  if (!folder.isValid()) return QString();
  folder.setAutoRemove(false);
  return folder.path();
}

bool CommitDownload(const QString& dataPath, const QString& targetPath, QString* failure) {
  // rename() replaces the target in one step: it never lacks its old or new content.
  if (std::rename(QFile::encodeName(dataPath).constData(),
                  QFile::encodeName(targetPath).constData()) == 0)
    return true;
  if (failure) *failure = QString::fromLocal8Bit(std::strerror(errno));
  return false;
}

}  // namespace runtime
