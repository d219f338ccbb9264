#pragma once

#include <QWebEnginePage>
#include <QWebEngineView>

#include "runtime/qt/browser_impl.h"

namespace runtime {

// The page of a browser: opens popups as browsers of their own and picks up
// the failure reports of its sub-frames.
class BrowserPage : public QWebEnginePage {
 public:
  BrowserPage(CefRefPtr<BrowserImpl> browser, QWebEngineProfile* profile, QObject* parent);
  BrowserImpl* browser() const { return m_browser.get(); }

 protected:
  QWebEnginePage* createWindow(WebWindowType type) override;
  void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                int lineNumber, const QString& sourceID) override;

 private:
  const CefRefPtr<BrowserImpl> m_browser;
};

// The widget of a browser; it tells the browser when it goes away and hands
// right-clicks to the client's context menu.
class BrowserView : public QWebEngineView {
 public:
  BrowserView(BrowserImpl* browser, QWidget* parent);
  ~BrowserView() override;

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // Tab past the page's last stop (or Shift+Tab before its first) with no other
  // stop in the window starts the page over, as a browser with no toolbar does.
  bool focusNextPrevChild(bool next) override;

 private:
  void detachDevTools();

  BrowserImpl* const m_browser;  // outlives its view
};

}  // namespace runtime
