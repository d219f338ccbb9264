#include "runtime/qt/load_errors.h"

#include <QWebEngineLoadingInfo>

#include "runtime/qt/browser_impl.h"
#include "runtime/qt/frame_errors.h"
#include "runtime/qt/frames.h"
#include "runtime/qt/qt_strings.h"

namespace runtime {

namespace {

void Report(BrowserImpl& browser, CefRefPtr<CefFrame> frame, int code, const QString& text,
            const QString& url) {
  CefRefPtr<CefClient> client = browser.client();
  CefRefPtr<CefLoadHandler> handler = client ? client->GetLoadHandler() : nullptr;
  if (handler) handler->OnLoadError(&browser, frame, code, ToCefString(text), ToCefString(url));
}

}  // namespace

void ReportLoadFailure(BrowserImpl& browser, const QWebEngineLoadingInfo& info) {
  const bool ended = info.status() == QWebEngineLoadingInfo::LoadFailedStatus ||
                     info.status() == QWebEngineLoadingInfo::LoadStoppedStatus;
  // HTTP status codes are positive and their pages count as loaded.
  if (!ended || info.errorCode() >= 0) return;
  Report(browser, new FailedMainFrame(&browser), info.errorCode(), info.errorString(),
         info.url().toString());
}

bool ReportFrameLoadFailure(BrowserImpl& browser, const QString& message) {
  const std::optional<FrameLoadError> error = ParseFrameErrorReport(message);
  if (!error) return false;
  Report(browser, new FailedSubFrame(&browser, error->frame, error->url), error->code, error->text,
         error->url);
  return true;
}

}  // namespace runtime
