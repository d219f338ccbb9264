#include "runtime/qt/browser_view.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QShortcut>

#include "runtime/qt/context_menu.h"
#include "runtime/qt/load_errors.h"
#include "runtime/qt/runtime_state.h"

namespace runtime {

namespace {

// As in the common browsers.
const QKeySequence kShowDownloads(Qt::CTRL | Qt::Key_J);

}  // namespace

BrowserPage::BrowserPage(CefRefPtr<BrowserImpl> browser, QWebEngineProfile* profile,
                         QObject* parent)
    : QWebEnginePage(profile, parent), m_browser(browser) {}

QWebEnginePage* BrowserPage::createWindow(WebWindowType /*type*/) {
  // Every kind of new window is a popup window of its own, reporting to the
  // opener's client.
  CefWindowInfo windowInfo;
  windowInfo.SetAsPopup(m_browser->GetWindowHandle(), CefString());
  CefRefPtr<BrowserImpl> popup =
      BrowserImpl::Open(windowInfo, m_browser->client(), CefBrowserSettings(), true);
  return popup ? popup->page() : nullptr;
}

void BrowserPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level,
                                           const QString& message, int lineNumber,
                                           const QString& sourceID) {
  if (ReportFrameLoadFailure(*m_browser, message)) return;
  QWebEnginePage::javaScriptConsoleMessage(level, message, lineNumber, sourceID);
}

BrowserView::BrowserView(BrowserImpl* browser, QWidget* parent)
    : QWebEngineView(parent), m_browser(browser) {
  setAttribute(Qt::WA_DeleteOnClose);
  connect(new QShortcut(kShowDownloads, this), &QShortcut::activated, this, [] {
    if (RuntimeState* state = RuntimeState::get()) state->downloads().showWindow();
  });
}

BrowserView::~BrowserView() {
  detachDevTools();
  m_browser->viewDestroyed();
}

void BrowserView::closeEvent(QCloseEvent* event) {
  detachDevTools();
  QWebEngineView::closeEvent(event);
}

bool BrowserView::focusNextPrevChild(bool next) {
  QWidget* focused = QApplication::focusWidget();
  const bool moved = QWebEngineView::focusNextPrevChild(next);
  if (!focused || QApplication::focusWidget() != focused) return moved;
  // The focus would stay where the page has just given it up; coming back in by
  // Tab, the page puts it on its first stop (by Shift+Tab, its last).
  focused->clearFocus();
  focused->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
  return true;
}

void BrowserView::detachDevTools() {
  // A closing view discards its page, which the engine refuses while tools are
  // attached to it.
  if (QWebEnginePage* ownPage = page()) {
    ownPage->setDevToolsPage(nullptr);
    ownPage->setInspectedPage(nullptr);
  }
}

void BrowserView::contextMenuEvent(QContextMenuEvent* event) {
  RunContextMenu(*m_browser, *this, event->globalPos());
}

}  // namespace runtime
