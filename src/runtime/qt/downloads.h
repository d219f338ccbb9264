#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QWebEngineDownloadRequest;

namespace runtime {

class DownloadWindow;

// Asks the client of the page that started the download how to go on; a
// download that the client does not continue while it is asked is cancelled.
void HandleDownloadRequest(QWebEngineDownloadRequest* request);

// The accepted downloads of the process and the window that shows them.
class DownloadCenter {
 public:
  DownloadCenter();
  ~DownloadCenter();

  // Follows an accepted request that writes into folder until its file is
  // complete and then becomes targetPath; shows the window.
  void track(QWebEngineDownloadRequest* request, const QString& targetPath, const QString& folder);
  // Shows a download that could not start, and why.
  void reportFailed(const QString& targetPath, const QString& failure);
  // A request for a download already under way is the engine starting it over
  // after a lost connection: the running one has then failed, and the request
  // is refused. Returns whether the request was such a one.
  bool refuseRestart(QWebEngineDownloadRequest* request);
  void showWindow();
  // At shutdown: running downloads are cancelled and leave nothing behind.
  void cancelAll();

 private:
  DownloadWindow& window();

  QObject m_downloads;  // parent of every tracked download
  std::unique_ptr<DownloadWindow> m_window;
};

}  // namespace runtime
