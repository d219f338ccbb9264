#pragma once

#include <list>

#include "runtime/cef_client.h"
#include "runtime/cef_task.h"

// The one client of every browser in the process: tracks the main browser and the
// popups, counts open browsers, and answers downloads, load errors and the
// context menu.
class SimpleHandler : public CefClient,
                      public CefContextMenuHandler,
                      public CefDownloadHandler,
                      public CefLifeSpanHandler,
                      public CefLoadHandler {
 public:
  SimpleHandler() = default;
  ~SimpleHandler() override = default;

  CefRefPtr<CefContextMenuHandler> GetContextMenuHandler() override { return this; }
  CefRefPtr<CefDownloadHandler> GetDownloadHandler() override { return this; }
  CefRefPtr<CefLifeSpanHandler> GetLifeSpanHandler() override { return this; }
  CefRefPtr<CefLoadHandler> GetLoadHandler() override { return this; }

  // The main browser, or null while there is none. Called from the main thread.
  CefRefPtr<CefBrowser> GetBrowser();

  // CefLifeSpanHandler
  void OnAfterCreated(CefRefPtr<CefBrowser> browser) override;
  bool DoClose(CefRefPtr<CefBrowser> browser) override;
  void OnBeforeClose(CefRefPtr<CefBrowser> browser) override;

  // CefDownloadHandler
  void OnBeforeDownload(CefRefPtr<CefBrowser> browser, CefRefPtr<CefDownloadItem> download_item,
                        const CefString& suggested_name,
                        CefRefPtr<CefBeforeDownloadCallback> callback) override;

  // CefLoadHandler
  void OnLoadError(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame, ErrorCode errorCode,
                   const CefString& errorText, const CefString& failedUrl) override;

  // CefContextMenuHandler
  void OnBeforeContextMenu(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                           CefRefPtr<CefContextMenuParams> params,
                           CefRefPtr<CefMenuModel> model) override;
  bool OnContextMenuCommand(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                            CefRefPtr<CefContextMenuParams> params, int command_id,
                            EventFlags event_flags) override;

  // Browsers created and not yet closed, in the whole process.
  static int OpenBrowserCount();
  const std::list<CefRefPtr<CefBrowser>>& PopupBrowsers() const { return m_popupBrowsers; }

 private:
  void ShowDevTools(CefRefPtr<CefBrowser> browser);

  int m_mainBrowserId = 0;
  std::list<CefRefPtr<CefBrowser>> m_popupBrowsers;
  base::Lock m_lock;
  CefRefPtr<CefBrowser> m_mainBrowser;

  IMPLEMENT_REFCOUNTING(SimpleHandler);
};
