#pragma once

#include "runtime/cef_base.h"
#include "runtime/cef_types.h"

class CefBrowserHost;
class CefClient;
class CefFrame;
// Browsers created without one share the global request context.
class CefRequestContext : public virtual CefBase {};

class CefBrowser : public virtual CefBase {
 public:
  virtual CefRefPtr<CefBrowserHost> GetHost() = 0;
  virtual int GetIdentifier() = 0;
  virtual bool IsPopup() = 0;
  virtual bool IsSame(CefRefPtr<CefBrowser> that) = 0;
  virtual CefRefPtr<CefFrame> GetMainFrame() = 0;
  virtual void Reload() = 0;
};

class CefBrowserHost : public virtual CefBase {
 public:
  // Creates a browser asynchronously; the client hears of it in OnAfterCreated.
  static bool CreateBrowser(const CefWindowInfo& windowInfo, CefRefPtr<CefClient> client,
                            const CefString& url, const CefBrowserSettings& settings,
                            CefRefPtr<CefRequestContext> request_context);

  virtual CefRefPtr<CefBrowser> GetBrowser() = 0;
  virtual cef_window_handle_t GetWindowHandle() = 0;
  virtual void SetFocus(bool focus) = 0;
  virtual void Invalidate(PaintElementType type) = 0;
  virtual void ShowDevTools(const CefWindowInfo& windowInfo, CefRefPtr<CefClient> client,
                            const CefBrowserSettings& settings,
                            const CefPoint& inspect_element_at) = 0;
  // Closes the browser's window; the client hears of it in OnBeforeClose.
  virtual void CloseBrowser(bool force_close) = 0;
};

class CefFrame : public virtual CefBase {
 public:
  virtual void LoadURL(const CefString& url) = 0;
  // Shows string_val as a page whose address reads url.
  virtual void LoadString(const CefString& string_val, const CefString& url) = 0;
  virtual bool IsMain() = 0;
  virtual CefString GetURL() = 0;
  virtual CefRefPtr<CefBrowser> GetBrowser() = 0;
};
