#pragma once

#include <QPointer>
#include <QString>
#include <QUrl>

#include "runtime/cef_browser.h"
#include "runtime/cef_client.h"
#include "runtime/qt/renderer_recovery.h"

class QWebEnginePage;

namespace runtime {

class BrowserView;
class BrowserWindow;

// One browser: a web view with its page, either a child of a window of the
// application or in a top-level window of its own. The browser and its host are
// the same object. It stays registered with the runtime while its view exists.
class BrowserImpl : public CefBrowser, public CefBrowserHost {
 public:
  // Opens a browser where windowInfo says; the client hears of it on the event
  // loop. Null when the runtime is not running.
  static CefRefPtr<BrowserImpl> Open(const CefWindowInfo& windowInfo, CefRefPtr<CefClient> client,
                                     const CefBrowserSettings& settings, bool popup);

  // CefBrowser
  CefRefPtr<CefBrowserHost> GetHost() override { return this; }
  int GetIdentifier() override { return m_id; }
  bool IsPopup() override { return m_popup; }
  bool IsSame(CefRefPtr<CefBrowser> that) override;
  CefRefPtr<CefFrame> GetMainFrame() override;
  void Reload() override;

  // CefBrowserHost
  CefRefPtr<CefBrowser> GetBrowser() override { return this; }
  cef_window_handle_t GetWindowHandle() override;
  void SetFocus(bool focus) override;
  void Invalidate(PaintElementType type) override;
  void ShowDevTools(const CefWindowInfo& windowInfo, CefRefPtr<CefClient> client,
                    const CefBrowserSettings& settings,
                    const CefPoint& inspect_element_at) override;
  void CloseBrowser(bool force_close) override;

  CefRefPtr<CefClient> client() const { return m_client; }
  // Null once the browser has closed.
  QWebEnginePage* page() const;
  BrowserView* view() const;

  void load(const QUrl& url);
  // Shows html as the document at url.
  void loadHtml(const QString& html, const QUrl& url);
  // Runs script in the top frame, apart from the page's own scripts.
  void runScript(const QString& script);

  // Destroys the view, with its own window if it has one, at once; the client
  // hears OnBeforeClose.
  void destroyView();
  // Called by the view while it is being destroyed.
  void viewDestroyed();

 private:
  BrowserImpl(int id, CefRefPtr<CefClient> client, bool popup);
  void createView(const CefWindowInfo& windowInfo, const CefBrowserSettings& settings);
  // The browser's own window, or the view where it lives in another window.
  QWidget* outermost() const;
  void connectPage();
  // Tells the client the browser exists, once.
  void announceCreated();

  const int m_id;
  const CefRefPtr<CefClient> m_client;
  const bool m_popup;
  bool m_announced = false;
  bool m_followsPageTitle = false;
  QPointer<BrowserView> m_view;
  QPointer<BrowserWindow> m_window;  // null for a view inside another window
  CefRefPtr<BrowserImpl> m_devTools;
  RendererRecovery m_recovery{*this};
  IMPLEMENT_REFCOUNTING(BrowserImpl);
};

// The address a caller means by text: a URL, or a file path (relative paths
// from the current directory).
QUrl UrlFromUserText(const CefString& text);

}  // namespace runtime
