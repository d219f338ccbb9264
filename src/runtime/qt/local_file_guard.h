#pragma once

#include <QDir>
#include <QWebEngineUrlRequestInterceptor>

namespace runtime {

// Keeps pages away from the user's files: a page may load its own scripts,
// style sheets, images and frames from the app's folder, but reads no file
// through XHR or fetch, and loads nothing from outside that folder.
class LocalFileGuard : public QWebEngineUrlRequestInterceptor {
 public:
  LocalFileGuard(const QDir& appFolder, QObject* parent);

  void interceptRequest(QWebEngineUrlRequestInfo& info) override;

  // Whether a page may load url as a resource of the given kind.
  bool allows(const QUrl& url, QWebEngineUrlRequestInfo::ResourceType type) const;

 private:
  bool isInAppFolder(const QString& localPath) const;

  QString m_appFolder;  // canonical, without a trailing separator
};

}  // namespace runtime
