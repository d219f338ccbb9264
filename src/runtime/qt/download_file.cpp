#include "runtime/qt/download_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace runtime {

QString MakeDownloadFolder(const QString& targetPath) {
  const QFileInfo target(targetPath);
  QTemporaryDir folder(
      target.dir().filePath(QLatin1Char('.') + target.fileName() + QLatin1String(".XXXXXX.part")));
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
