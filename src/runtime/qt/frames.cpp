#include "runtime/qt/frames.h"

#include <QWebEnginePage>

#include "runtime/qt/frame_errors.h"
#include "runtime/qt/qt_strings.h"

namespace runtime {

void MainFrame::LoadURL(const CefString& url) { m_browser->load(UrlFromUserText(url)); }

void MainFrame::LoadString(const CefString& string_val, const CefString& url) {
  m_browser->loadHtml(ToQString(string_val), UrlFromUserText(url));
}

namespace {

CefString PageUrl(const BrowserImpl& browser) {
  QWebEnginePage* page = browser.page();
  return page ? ToCefString(page->url().toString()) : CefString();
}

}  // namespace

CefString MainFrame::GetURL() { return PageUrl(*m_browser); }

void FailedMainFrame::LoadString(const CefString& string_val, const CefString& /*url*/) {
  m_browser->runScript(ShowHtmlInErrorDocumentScript(ToQString(string_val)));
}

void FailedSubFrame::LoadURL(const CefString& url) {
  m_browser->runScript(LoadUrlInFrameScript(m_frame, UrlFromUserText(url).toString()));
}

void FailedSubFrame::LoadString(const CefString& string_val, const CefString& /*url*/) {
  m_browser->runScript(ShowHtmlInFrameScript(m_frame, ToQString(string_val)));
}

CefString FailedSubFrame::GetURL() { return ToCefString(m_url); }

}  // namespace runtime
