#include "runtime/qt/local_file_guard.h"

#include <QDir>
#include <QFile>
#include <QUrl>
#include <QWebEngineDownloadRequest>

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

namespace runtime {

namespace {

constexpr char kLocalHost[] = "localhost";
constexpr char kSeparator = '/';

// The file the engine opens for a file: address, derived as the engine derives
// it: the path's escapes decoded and repeated separators collapsed. Empty where
// the engine opens nothing: an address with a host, or a path holding an
// escaped separator or a NUL byte.
QByteArray EnginePath(const QUrl& url) {
  if (!url.host().isEmpty() && url.host() != QLatin1String(kLocalHost)) return {};
  const QByteArray encoded = url.path(QUrl::FullyEncoded).toLatin1();
  if (encoded.toUpper().contains("%2F")) return {};
  QByteArray path = QByteArray::fromPercentEncoding(encoded);
  if (!path.startsWith(kSeparator) || path.contains('\0')) return {};
  while (path.contains("//")) path.replace("//", "/");
  return path;
}

// Where path leads once every link in it is followed, as the system itself
// follows them; empty when it cannot be followed to its end (too long, a loop,
// a folder that cannot be read, a missing part).
QByteArray Resolved(const QByteArray& path, int* error = nullptr) {
  errno = 0;
  const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.constData(), nullptr),
                                                             &std::free);
  if (error) *error = errno;
  return resolved ? QByteArray(resolved.get()) : QByteArray();
}

// Like Resolved, but a name that is not there at all (not even as a link that
// leads nowhere) is kept as it is, in its resolved folder: the engine then
// finds nothing, and the page sees a missing file rather than a refused one.
QByteArray ResolvedAllowingMissingName(const QByteArray& path) {
  int error = 0;
  const QByteArray resolved = Resolved(path, &error);
  struct stat entry;
  if (!resolved.isEmpty() || error != ENOENT || ::lstat(path.constData(), &entry) == 0)
    return resolved;
  const qsizetype lastSeparator = path.lastIndexOf(kSeparator);
  const QByteArray name = path.mid(lastSeparator + 1);
  if (name.isEmpty() || name == "." || name == "..") return {};
  const QByteArray folder =
      Resolved(lastSeparator == 0 ? QByteArray(1, kSeparator) : path.left(lastSeparator));
  if (folder.isEmpty()) return {};
  return folder.endsWith(kSeparator) ? folder + name : folder + kSeparator + name;
}

bool IsWithin(const QByteArray& path, const QByteArray& folder) {
  if (folder == QByteArray(1, kSeparator)) return true;
  return path == folder || path.startsWith(folder + kSeparator);
}

}  // namespace

LocalFileGuard::LocalFileGuard(const QString& appFolder, const QString& storageFolder,
                               QObject* parent)
    : QWebEngineUrlRequestInterceptor(parent),
      m_appFolder(Resolved(QFile::encodeName(QDir(appFolder).absolutePath()))) {
  if (storageFolder.isEmpty()) return;
  const QByteArray storage = QFile::encodeName(QDir::cleanPath(QDir(storageFolder).absolutePath()));
  const QByteArray resolved = Resolved(storage);
  m_storageFolder = resolved.isEmpty() ? storage : resolved;
}

void LocalFileGuard::interceptRequest(QWebEngineUrlRequestInfo& info) {
  if (!allows(info.requestUrl())) info.block(true);
}

bool LocalFileGuard::allows(const QUrl& url) const {
  if (!url.isLocalFile()) return true;
  const QByteArray path = EnginePath(url);
  return !path.isEmpty() && isInside(ResolvedAllowingMissingName(path));
}

void LocalFileGuard::refuseDownloadOutside(QWebEngineDownloadRequest* request) const {
  if (!allows(request->url())) request->cancel();
}

bool LocalFileGuard::isInside(const QByteArray& resolvedPath) const {
  if (resolvedPath.isEmpty() || m_appFolder.isEmpty()) return false;
  if (!m_storageFolder.isEmpty() && IsWithin(resolvedPath, m_storageFolder)) return false;
  return IsWithin(resolvedPath, m_appFolder);
}

}  // namespace runtime
