#pragma once

#include "runtime/cef_base.h"
#include "runtime/cef_browser.h"
#include "runtime/cef_menu_model.h"
#include "runtime/cef_types.h"

class CefContextMenuHandler : public virtual CefBase {
 public:
  virtual void OnBeforeContextMenu(CefRefPtr<CefBrowser> /*browser*/, CefRefPtr<CefFrame> /*frame*/,
                                   CefRefPtr<CefContextMenuParams> /*params*/,
                                   CefRefPtr<CefMenuModel> /*model*/) {}
  virtual bool OnContextMenuCommand(CefRefPtr<CefBrowser> /*browser*/,
                                    CefRefPtr<CefFrame> /*frame*/,
                                    CefRefPtr<CefContextMenuParams> /*params*/, int /*command_id*/,
                                    EventFlags /*event_flags*/) {
    return false;
  }
  virtual void OnContextMenuDismissed(CefRefPtr<CefBrowser> /*browser*/,
                                      CefRefPtr<CefFrame> /*frame*/) {}
};

class CefDownloadItem : public virtual CefBase {
 public:
  virtual CefString GetURL() = 0;
  virtual CefString GetSuggestedFileName() = 0;
};

class CefBeforeDownloadCallback : public virtual CefBase {
 public:
  // Goes on with the download into download_path (empty: the suggested name),
  // through the save dialog when show_dialog is set.
  virtual void Continue(const CefString& download_path, bool show_dialog) = 0;
};

class CefDownloadHandler : public virtual CefBase {
 public:
  virtual void OnBeforeDownload(CefRefPtr<CefBrowser> browser,
                                CefRefPtr<CefDownloadItem> download_item,
                                const CefString& suggested_name,
                                CefRefPtr<CefBeforeDownloadCallback> callback) = 0;
  virtual void OnDownloadUpdated(CefRefPtr<CefBrowser> /*browser*/,
                                 CefRefPtr<CefDownloadItem> /*download_item*/) {}
};

class CefLifeSpanHandler : public virtual CefBase {
 public:
  virtual void OnAfterCreated(CefRefPtr<CefBrowser> /*browser*/) {}
  virtual bool DoClose(CefRefPtr<CefBrowser> /*browser*/) { return false; }
  virtual void OnBeforeClose(CefRefPtr<CefBrowser> /*browser*/) {}
};

class CefLoadHandler : public virtual CefBase {
 public:
  virtual void OnLoadError(CefRefPtr<CefBrowser> /*browser*/, CefRefPtr<CefFrame> /*frame*/,
                           ErrorCode /*errorCode*/, const CefString& /*errorText*/,
                           const CefString& /*failedUrl*/) {}
};

class CefClient : public virtual CefBase {
 public:
  virtual CefRefPtr<CefContextMenuHandler> GetContextMenuHandler() { return nullptr; }
  virtual CefRefPtr<CefDownloadHandler> GetDownloadHandler() { return nullptr; }
  virtual CefRefPtr<CefLifeSpanHandler> GetLifeSpanHandler() { return nullptr; }
  virtual CefRefPtr<CefLoadHandler> GetLoadHandler() { return nullptr; }
};
