#include "runtime/qt/downloads.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>

#include "platform/qt/file_dialogs.h"
#include "runtime/cef_client.h"
#include "runtime/qt/browser_view.h"
#include "runtime/qt/download_file.h"
#include "runtime/qt/download_name.h"
#include "runtime/qt/download_window.h"
#include "runtime/qt/qt_strings.h"
#include "runtime/qt/runtime_state.h"
#include "runtime/qt/tracked_download.h"

namespace runtime {

namespace {

class DownloadItemImpl : public CefDownloadItem {
 public:
  DownloadItemImpl(const QWebEngineDownloadRequest& request, const CefString& suggestedName)
      : m_url(ToCefString(request.url().toString())), m_suggestedName(suggestedName) {}

  CefString GetURL() override { return m_url; }
  CefString GetSuggestedFileName() override { return m_suggestedName; }

 private:
  const CefString m_url;
  const CefString m_suggestedName;
  IMPLEMENT_REFCOUNTING(DownloadItemImpl);
};

// Valid while the client is being asked; later calls do nothing.
class BeforeDownloadCallbackImpl : public CefBeforeDownloadCallback {
 public:
  BeforeDownloadCallbackImpl(QWebEngineDownloadRequest* request, QWidget* dialogParent)
      : m_request(request), m_dialogParent(dialogParent) {}

  void Continue(const CefString& download_path, bool show_dialog) override {
    if (!m_request || m_request->state() != QWebEngineDownloadRequest::DownloadRequested) return;
    QString target = QDir(m_request->downloadDirectory())
                         .filePath(download_path.empty() ? m_request->downloadFileName()
                                                         : ToQString(download_path));
    if (show_dialog) target = platform::AskSaveFileName(m_dialogParent, target);
    if (!m_request) return;  // gone while the dialog was open
    if (target.isEmpty()) {
      m_request->cancel();
      return;
    }
    const QFileInfo file(target);
    RuntimeState* state = RuntimeState::get();
    const QString folder = state ? MakeDownloadFolder(file.absoluteFilePath()) : QString();
    if (folder.isEmpty()) {
      m_request->cancel();  // the engine could not write beside the target either
      if (state)
        state->downloads().reportFailed(file.absoluteFilePath(),
                                        QObject::tr("nothing can be written in %1")
                                            .arg(QDir::toNativeSeparators(file.absolutePath())));
      return;
    }
    m_request->setDownloadDirectory(folder);
    m_request->setDownloadFileName(QLatin1String(kDownloadDataName));
    m_request->accept();
    state->downloads().track(m_request, file.absoluteFilePath(), folder);
  }

  void expire() { m_request = nullptr; }

 private:
  QPointer<QWebEngineDownloadRequest> m_request;
  QPointer<QWidget> m_dialogParent;
  IMPLEMENT_REFCOUNTING(BeforeDownloadCallbackImpl);
};

// The engine places the download by the name the page suggests, path and all;
// a client that names no path of its own gets the plain name in the downloads
// folder instead.
void OfferInDownloadsFolder(QWebEngineDownloadRequest* request, const QString& name,
                            const QString& downloadsFolder) {
  request->setDownloadDirectory(downloadsFolder);
  request->setDownloadFileName(name);
}

}  // namespace

void HandleDownloadRequest(QWebEngineDownloadRequest* request) {
  // The profile's file guard answers first: what it refused is no one's to offer.
  if (request->state() != QWebEngineDownloadRequest::DownloadRequested) return;
  RuntimeState* state = RuntimeState::get();
  if (state && state->downloads().refuseRestart(request)) return;
  auto* page = dynamic_cast<BrowserPage*>(request->page());
  BrowserImpl* browser = page ? page->browser() : nullptr;
  CefRefPtr<CefClient> client = browser ? browser->client() : nullptr;
  CefRefPtr<CefDownloadHandler> handler = client ? client->GetDownloadHandler() : nullptr;
  const QString suggestedName = SafeDownloadName(request->suggestedFileName());
  if (state) OfferInDownloadsFolder(request, suggestedName, state->profile()->downloadPath());
  if (handler) {
    CefRefPtr<BeforeDownloadCallbackImpl> callback(
        new BeforeDownloadCallbackImpl(request, browser->view()));
    handler->OnBeforeDownload(browser, new DownloadItemImpl(*request, ToCefString(suggestedName)),
                              ToCefString(suggestedName), callback);
    callback->expire();
  }
  if (request->state() == QWebEngineDownloadRequest::DownloadRequested) request->cancel();
}

DownloadCenter::DownloadCenter() = default;

DownloadCenter::~DownloadCenter() = default;

DownloadWindow& DownloadCenter::window() {
  if (!m_window) m_window = std::make_unique<DownloadWindow>();
  return *m_window;
}

void DownloadCenter::track(QWebEngineDownloadRequest* request, const QString& targetPath,
                           const QString& folder) {
  window().add(new TrackedDownload(request, targetPath, folder, &m_downloads));
  window().present();
}

void DownloadCenter::reportFailed(const QString& targetPath, const QString& failure) {
  window().add(new TrackedDownload(targetPath, failure, &m_downloads));
  window().present();
}

bool DownloadCenter::refuseRestart(QWebEngineDownloadRequest* request) {
  for (TrackedDownload* download : m_downloads.findChildren<TrackedDownload*>()) {
    if (download->id() != request->id() || !download->isRunning()) continue;
    request->cancel();
    const bool knowsWhy = request->interruptReason() != QWebEngineDownloadRequest::NoReason;
    download->failInterrupted(knowsWhy ? request->interruptReasonString()
                                       : QObject::tr("the connection was lost"));
    return true;
  }
  return false;
}

void DownloadCenter::showWindow() {
  if (m_window) m_window->present();
}

void DownloadCenter::cancelAll() {
  for (TrackedDownload* download : m_downloads.findChildren<TrackedDownload*>()) download->cancel();
}

}  // namespace runtime
