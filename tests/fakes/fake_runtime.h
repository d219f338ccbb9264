#pragma once

#include <string>
#include <vector>

#include "runtime/cef_app.h"
#include "runtime/cef_client.h"
#include "runtime/cef_task.h"

// A browser runtime that records what the shell asks of it, for unit tests.

class FakeFrame : public CefFrame {
 public:
  void LoadURL(const CefString& url) override { loadedUrls.push_back(url.ToString()); }
  void LoadString(const CefString& string_val, const CefString& url) override {
    loadedStrings.push_back({string_val.ToString(), url.ToString()});
  }
  bool IsMain() override { return true; }
  CefString GetURL() override { return CefString(); }
  CefRefPtr<CefBrowser> GetBrowser() override { return nullptr; }

  struct LoadedString {
    std::string html;
    std::string url;
  };
  std::vector<std::string> loadedUrls;
  std::vector<LoadedString> loadedStrings;

  IMPLEMENT_REFCOUNTING(FakeFrame);
};

class FakeBrowserHost : public CefBrowserHost {
 public:
  CefRefPtr<CefBrowser> GetBrowser() override { return nullptr; }
  cef_window_handle_t GetWindowHandle() override { return windowHandle; }
  void SetFocus(bool focus) override { focusCalls.push_back(focus); }
  void Invalidate(PaintElementType) override { ++invalidateCount; }
  void ShowDevTools(const CefWindowInfo& windowInfo, CefRefPtr<CefClient> client,
                    const CefBrowserSettings&, const CefPoint& inspect) override {
    devTools.push_back({windowInfo, client, inspect});
  }
  void CloseBrowser(bool) override { ++closeCount; }

  struct DevToolsCall {
    CefWindowInfo windowInfo;
    CefRefPtr<CefClient> client;
    CefPoint inspect;
  };
  cef_window_handle_t windowHandle = nullptr;
  std::vector<bool> focusCalls;
  int invalidateCount = 0;
  int closeCount = 0;
  std::vector<DevToolsCall> devTools;

  IMPLEMENT_REFCOUNTING(FakeBrowserHost);
};

class FakeBrowser : public CefBrowser {
 public:
  FakeBrowser(int id, bool popup) : m_id(id), m_popup(popup) {}

  CefRefPtr<CefBrowserHost> GetHost() override { return host; }
  int GetIdentifier() override { return m_id; }
  bool IsPopup() override { return m_popup; }
  bool IsSame(CefRefPtr<CefBrowser> that) override { return that && that->GetIdentifier() == m_id; }
  CefRefPtr<CefFrame> GetMainFrame() override { return frame; }
  void Reload() override { ++reloadCount; }

  CefRefPtr<FakeBrowserHost> host = new FakeBrowserHost;
  CefRefPtr<FakeFrame> frame = new FakeFrame;
  int reloadCount = 0;

 private:
  int m_id;
  bool m_popup;

  IMPLEMENT_REFCOUNTING(FakeBrowser);
};

struct FakeRuntime {
  struct CreatedBrowser {
    CefWindowInfo windowInfo;
    CefRefPtr<CefClient> client;
    std::string url;
    CefBrowserSettings settings;
  };

  // What the runtime has been asked, since the last Reset().
  static FakeRuntime& Get();
  void Reset() { *this = FakeRuntime(); }
  // Runs the queued tasks, in order.
  void RunPostedTasks();

  int executeProcessResult = -1;
  bool initializeResult = true;
  // Empty: the profile lives in memory, and no folder is guarded.
  std::string storageFolder;
  bool createBrowserResult = true;
  std::vector<CefSettings> initializeCalls;
  std::vector<CreatedBrowser> createdBrowsers;
  std::vector<base::Closure> postedTasks;
  int quitMessageLoopCount = 0;
  int shutdownCount = 0;
};
