#pragma once

#include <QDeadlineTimer>
#include <QUrl>
#include <QWebEnginePage>

namespace runtime {

class BrowserImpl;

// Brings a browser's page back when its renderer process dies: a reload, a few
// times in a row at most, then a page of the shell's own that says the page
// stopped and offers to load it again.
class RendererRecovery {
 public:
  explicit RendererRecovery(BrowserImpl& browser) : m_browser(browser) {}

  void onRendererGone(QWebEnginePage::RenderProcessTerminationStatus status, const QUrl& pageUrl);
  // True while the stopped page stands in for the page at url.
  bool showsStoppedPage() const { return m_showsStoppedPage; }
  const QUrl& stoppedUrl() const { return m_stoppedUrl; }
  // A reload asked for by the user: the page at its own address again.
  void reloadStoppedPage();

 private:
  BrowserImpl& m_browser;
  int m_crashesInARow = 0;
  QDeadlineTimer m_inARowUntil;
  bool m_showsStoppedPage = false;
  QUrl m_stoppedUrl;
};

// The shell's own page for a page whose renderer kept dying.
QString StoppedPageHtml(const QUrl& url);

}  // namespace runtime
