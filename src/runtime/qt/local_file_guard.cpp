#include "runtime/qt/local_file_guard.h"

#include <QFileInfo>
#include <QUrl>

namespace runtime {

LocalFileGuard::LocalFileGuard(const QDir& appFolder, QObject* parent)
    : QWebEngineUrlRequestInterceptor(parent), m_appFolder(appFolder.canonicalPath()) {}

void LocalFileGuard::interceptRequest(QWebEngineUrlRequestInfo& info) {
  if (!allows(info.requestUrl(), info.resourceType())) info.block(true);
}

bool LocalFileGuard::allows(const QUrl& url, QWebEngineUrlRequestInfo::ResourceType type) const {
  if (!url.isLocalFile()) return true;
  // The engine files fetch() under XHR as well, synchronous requests included.
  if (type == QWebEngineUrlRequestInfo::ResourceTypeXhr) return false;
  return isInAppFolder(url.toLocalFile());
}

bool LocalFileGuard::isInAppFolder(const QString& localPath) const {
  if (m_appFolder.isEmpty()) return false;
  const QFileInfo file(localPath);
  // A link inside the folder may point anywhere: the engine reads where it points.
  const QString canonical =
      file.exists() ? file.canonicalFilePath() : QDir::cleanPath(file.absoluteFilePath());
  return canonical == m_appFolder || m_appFolder == QLatin1String("/") ||
         canonical.startsWith(m_appFolder + QLatin1Char('/'));
}

}  // namespace runtime
