#pragma once

#include <QByteArray>
#include <QWebEngineUrlRequestInterceptor>

class QWebEngineDownloadRequest;

namespace runtime {

// Keeps pages to the app's own folder: a file: address loads, by whatever
// route and for whatever use, only when the file the engine would open lies
// inside that folder once every link is followed, and not in the folder where
// the profile keeps what pages store (cookies and storage of every site).
// An address whose file cannot be resolved is refused. The guard sees every
// load of the profile's frames, popups and navigations, and of the workers that
// load through their page; the workers whose loads it would not see are turned
// off (engine_features.h), and downloads are checked on their own.
class LocalFileGuard : public QWebEngineUrlRequestInterceptor {
 public:
  LocalFileGuard(const QString& appFolder, const QString& storageFolder, QObject* parent);

  void interceptRequest(QWebEngineUrlRequestInfo& info) override;

  // Whether a page may load url: any address but file:, or a file inside the app
  // folder and outside its storage.
  bool allows(const QUrl& url) const;

  // Cancels a download of a file that pages may not load.
  void refuseDownloadOutside(QWebEngineDownloadRequest* request) const;

 private:
  bool isInside(const QByteArray& resolvedPath) const;

  QByteArray m_appFolder;      // resolved, without a trailing separator; empty: none
  QByteArray m_storageFolder;  // resolved; empty when pages store nothing on disk
};

}  // namespace runtime
