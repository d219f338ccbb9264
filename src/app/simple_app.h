#pragma once

#include "runtime/cef_app.h"

// The runtime's application object for every process of the shell.
class SimpleApp : public CefApp, public CefBrowserProcessHandler, public CefRenderProcessHandler {
 public:
  CefRefPtr<CefBrowserProcessHandler> GetBrowserProcessHandler() override { return this; }
  CefRefPtr<CefRenderProcessHandler> GetRenderProcessHandler() override { return this; }

  // Sets "pavonix" and "appVersion" on the global object, which the runtime hands on
  // to every new script context.
  void OnContextCreated(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                        CefRefPtr<CefV8Context> context) override;

  IMPLEMENT_REFCOUNTING(SimpleApp);
};
