#include "runtime/qt/storage_folder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace runtime {

namespace {

constexpr char kCacheHomeVariable[] = "XDG_CACHE_HOME";
constexpr char kHomeVariable[] = "HOME";
constexpr char kDefaultCacheHome[] = ".cache";
constexpr char kApplicationFolder[] = "vintrel";
// 64 bits of the path's hash: two application folders of the same name share a
// storage folder only by a chance too small to weigh.
constexpr int kHashDigits = 16;

QString CacheHome(const QProcessEnvironment& environment) {
  // Relative values are invalid by the base directory rules and are ignored.
  const QString cacheHome = environment.value(QString::fromLatin1(kCacheHomeVariable));
  if (QDir::isAbsolutePath(cacheHome)) return cacheHome;
  const QString home = environment.value(QString::fromLatin1(kHomeVariable));
  if (!QDir::isAbsolutePath(home)) return QString();
  return QDir(home).filePath(QString::fromLatin1(kDefaultCacheHome));
}

// The folder's own name, for a person looking through the cache home, and the
// hash of its whole path, which tells folders of the same name apart.
QString FolderKey(const QString& appFolder) {
  const QString path = QDir::cleanPath(appFolder);
  QString name = QFileInfo(path).fileName();
  name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("_"));
  const QByteArray hash =
      QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256).toHex();
  const QString digits = QString::fromLatin1(hash.left(kHashDigits));
  return name.isEmpty() ? digits : name + QLatin1Char('-') + digits;
}

// The folder made ready for writing, or empty when that fails.
QString Writable(const QString& folder) {
  if (folder.isEmpty() || !QDir().mkpath(folder)) return QString();
  const QFileInfo info(folder);
  return info.isDir() && info.isWritable() ? folder : QString();
}

// What pages store is the user's own business, as the base directory rules ask.
QString PrivateWritable(const QString& folder) {
  const QString made = Writable(folder);
  if (made.isEmpty() ||
      !QFile::setPermissions(made, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
    return QString();
  return made;
}

}  // namespace

QString UserCacheFolderFor(const QString& appFolder, const QProcessEnvironment& environment) {
  const QString cacheHome = CacheHome(environment);
  if (cacheHome.isEmpty() || appFolder.isEmpty()) return QString();
  return QDir(cacheHome).filePath(QString::fromLatin1(kApplicationFolder) + QLatin1Char('/') +
                                  FolderKey(appFolder));
}

QString UserCacheFolderForApp(const QString& appId, const QProcessEnvironment& environment) {
  const QString cacheHome = CacheHome(environment);
  if (cacheHome.isEmpty() || appId.isEmpty()) return QString();
  // Named like the app's desktop entry and icons: a reverse domain name is the app's own.
  return QDir(cacheHome).filePath(appId);
}

QString ProfileStorageFolder(const QString& cachePath, const QString& appId) {
  if (cachePath.isEmpty()) return QString();
  // An app keeps its storage when it is installed elsewhere or run by another user.
  if (!appId.isEmpty())
    return PrivateWritable(UserCacheFolderForApp(appId, QProcessEnvironment::systemEnvironment()));
  const QString folder = PrivateWritable(QDir::current().absoluteFilePath(cachePath));
  if (!folder.isEmpty()) return folder;
  return PrivateWritable(
      UserCacheFolderFor(QDir::currentPath(), QProcessEnvironment::systemEnvironment()));
}

}  // namespace runtime
