#pragma once

#include "runtime/cef_base.h"
#include "runtime/cef_browser.h"
#include "runtime/cef_types.h"
#include "runtime/cef_v8.h"

class CefBrowserProcessHandler : public virtual CefBase {
 public:
  virtual void OnContextInitialized() {}
};

class CefRenderProcessHandler : public virtual CefBase {
 public:
  // Called once, before the first page, with a null browser and frame and a context
  // that only records: what the handler sets on its global object, the runtime sets
  // on the global object of every new script context (one per document in every
  // frame) before the context's first script. Only strings are carried over; a value
  // of any other kind is left out, with a warning on stderr.
  virtual void OnContextCreated(CefRefPtr<CefBrowser> /*browser*/, CefRefPtr<CefFrame> /*frame*/,
                                CefRefPtr<CefV8Context> /*context*/) {}
};

class CefApp : public virtual CefBase {
 public:
  virtual CefRefPtr<CefBrowserProcessHandler> GetBrowserProcessHandler() { return nullptr; }
  virtual CefRefPtr<CefRenderProcessHandler> GetRenderProcessHandler() { return nullptr; }
};

// In an engine sub-process runs that process to its end and returns its exit code
// (0 or more); in the main process returns -1 at once.
int CefExecuteProcess(const CefMainArgs& args, CefRefPtr<CefApp> application,
                      void* windows_sandbox_info);
bool CefInitialize(const CefMainArgs& args, const CefSettings& settings,
                   CefRefPtr<CefApp> application, void* windows_sandbox_info);
// Closes every browser still open, then stops the engine.
void CefShutdown();
void CefQuitMessageLoop();
