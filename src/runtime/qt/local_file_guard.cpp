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

// Like Resolved, but names at the end that are not there at all (not even as
// links that lead nowhere) are kept as they are, below their resolved folder:
// the engine then finds nothing, and the page sees a missing file rather than
// a refused one. A name that is not there cannot be a link.
QByteArray ResolvedAllowingMissingNames(const QByteArray& path) {
  QByteArray existing = path;
  QByteArray missing;
  struct stat entry;
  while (::lstat(existing.constData(), &entry) != 0) {
    if (errno != ENOENT) return {};
    const qsizetype lastSeparator = existing.lastIndexOf(kSeparator);
    const QByteArray name = existing.mid(lastSeparator + 1);
    if (name.isEmpty() || name == "." || name == "..") return {};
    missing.prepend(kSeparator + name);
    existing = lastSeparator == 0 ? QByteArray(1, kSeparator) : existing.left(lastSeparator);
  }
  const QByteArray resolved = Resolved(existing);
  if (resolved.isEmpty() || missing.isEmpty()) return resolved;
  return resolved.endsWith(kSeparator) ? resolved + missing.mid(1) : resolved + missing;
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
  return !path.isEmpty() && isInside(ResolvedAllowingMissingNames(path));
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
