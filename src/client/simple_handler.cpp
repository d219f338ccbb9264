#include "client/simple_handler.h"

#include "runtime/cef_app.h"

namespace {

// Browsers created and not yet closed: main browser, popups and developer tools.
// Touched only on the runtime's UI thread.
int g_openBrowserCount = 0;

}  // namespace

int SimpleHandler::OpenBrowserCount() { return g_openBrowserCount; }

CefRefPtr<CefBrowser> SimpleHandler::GetBrowser() {
  base::AutoLock lock(m_lock);
  return m_mainBrowser;
}

void SimpleHandler::OnAfterCreated(CefRefPtr<CefBrowser> browser) {
  if (!GetBrowser()) {
    base::AutoLock lock(m_lock);
    m_mainBrowser = browser;
    m_mainBrowserId = browser->GetIdentifier();
  } else if (browser->IsPopup()) {
    m_popupBrowsers.push_back(browser);
    CefPostTask(TID_UI, base::Bind(&CefBrowserHost::SetFocus, browser->GetHost(), true));
  }
  ++g_openBrowserCount;
}

bool SimpleHandler::DoClose(CefRefPtr<CefBrowser>) { return false; }

void SimpleHandler::OnBeforeClose(CefRefPtr<CefBrowser> browser) {
  int mainBrowserId;
  {
    base::AutoLock lock(m_lock);
    mainBrowserId = m_mainBrowserId;
  }
  if (browser->GetIdentifier() == mainBrowserId) {
    base::AutoLock lock(m_lock);
    m_mainBrowser = nullptr;
  }
  if (browser->IsPopup()) {
    for (auto it = m_popupBrowsers.begin(); it != m_popupBrowsers.end(); ++it) {
      if ((*it)->IsSame(browser)) {
        m_popupBrowsers.erase(it);
        break;
      }
    }
  }
  if (--g_openBrowserCount == 0) CefQuitMessageLoop();
}

void SimpleHandler::OnBeforeDownload(CefRefPtr<CefBrowser>, CefRefPtr<CefDownloadItem>,
                                     const CefString& suggested_name,
                                     CefRefPtr<CefBeforeDownloadCallback> callback) {
  callback->Continue(suggested_name, true);
}
