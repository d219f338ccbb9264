#include "runtime/qt/renderer_recovery.h"

#include "runtime/qt/browser_impl.h"

namespace runtime {
namespace {

// Renderer deaths this close together count as one run of failures.
constexpr int kInARowWindowMs = 30000;
constexpr int kMaxAutomaticReloads = 3;

}  // namespace

QString StoppedPageHtml(const QUrl& url) {
  const QString address = url.toString(QUrl::FullyEncoded).toHtmlEscaped();
  return QStringLiteral(
             "<html><head><title>Page stopped</title></head>"
             "<body style=\"font-family: sans-serif; margin: 3em; color: #263238\">"
             "<h2>This page stopped working.</h2>"
             "<p>It was reloaded several times and stopped again each time.</p>"
             "<p><a id=\"reload\" href=\"%1\">Reload the page</a></p></body></html>")
      .arg(address);
}

void RendererRecovery::onRendererGone(QWebEnginePage::RenderProcessTerminationStatus status,
                                      const QUrl& pageUrl) {
  if (status == QWebEnginePage::NormalTerminationStatus) return;
  if (m_inARowUntil.hasExpired()) m_crashesInARow = 0;
  m_inARowUntil.setRemainingTime(kInARowWindowMs);
  const QUrl url = m_showsStoppedPage ? m_stoppedUrl : pageUrl;
  if (++m_crashesInARow <= kMaxAutomaticReloads) {
    m_showsStoppedPage = false;
    m_browser.load(url);
    return;
  }
  m_showsStoppedPage = true;
  m_stoppedUrl = url;
  m_browser.loadHtml(StoppedPageHtml(url), url);
}

void RendererRecovery::reloadStoppedPage() {
  m_showsStoppedPage = false;
  m_crashesInARow = 0;
  m_browser.load(m_stoppedUrl);
}

}  // namespace runtime
