#include "runtime/qt/frames.h"

#include <QWebEnginePage>

#include "runtime/qt/frame_errors.h"

namespace runtime {

namespace {

QString ToQString(const CefString& text) { return QString::fromStdU16String(text.ToString16()); }
CefString ToCefString(const QString& text) { return CefString(text.toStdU16String()); }

}  // namespace

void MainFrame::LoadURL(const CefString& url) { m_browser->load(UrlFromUserText(url)); }

void MainFrame::LoadString(const CefString& string_val, const CefString& url) {
  m_browser->loadHtml(ToQString(string_val), UrlFromUserText(url));
}

CefString MainFrame::GetURL() {
  QWebEnginePage* page = m_browser->page();
  return page ? ToCefString(page->url().toString()) : CefString();
}

void FailedSubFrame::LoadURL(const CefString& url) {
  m_browser->runScript(LoadUrlInFrameScript(m_token, UrlFromUserText(url).toString()));
}

void FailedSubFrame::LoadString(const CefString& string_val, const CefString& /*url*/) {
  m_browser->runScript(ShowHtmlInFrameScript(m_token, ToQString(string_val)));
}

CefString FailedSubFrame::GetURL() { return ToCefString(m_url); }

}  // namespace runtime
