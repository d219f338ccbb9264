#include "fakes/fake_runtime.h"

#include <utility>

#include "runtime/profile_storage.h"

namespace {

class FakeV8Value : public CefV8Value {
 public:
  explicit FakeV8Value(CefString value) : m_value(std::move(value)) {}
  bool IsString() override { return true; }
  CefString GetStringValue() override { return m_value; }
  bool SetValue(const CefString&, CefRefPtr<CefV8Value>, PropertyAttribute) override {
    return false;
  }

 private:
  CefString m_value;
  IMPLEMENT_REFCOUNTING(FakeV8Value);
};

}  // namespace

FakeRuntime& FakeRuntime::Get() {
  static FakeRuntime runtime;
  return runtime;
}

void FakeRuntime::RunPostedTasks() {
  std::vector<base::Closure> tasks;
  tasks.swap(postedTasks);
  for (base::Closure& task : tasks) task();
}

int CefExecuteProcess(const CefMainArgs&, CefRefPtr<CefApp>, void*) {
  return FakeRuntime::Get().executeProcessResult;
}

bool CefInitialize(const CefMainArgs&, const CefSettings& settings, CefRefPtr<CefApp>, void*) {
  FakeRuntime::Get().initializeCalls.push_back(settings);
  return FakeRuntime::Get().initializeResult;
}

std::string CefProfileStorageFolder(const CefString&) { return FakeRuntime::Get().storageFolder; }

void CefShutdown() { ++FakeRuntime::Get().shutdownCount; }

void CefQuitMessageLoop() { ++FakeRuntime::Get().quitMessageLoopCount; }

bool CefPostTask(CefThreadId, const base::Closure& closure) {
  FakeRuntime::Get().postedTasks.push_back(closure);
  return true;
}

bool CefBrowserHost::CreateBrowser(const CefWindowInfo& windowInfo, CefRefPtr<CefClient> client,
                                   const CefString& url, const CefBrowserSettings& settings,
                                   CefRefPtr<CefRequestContext>) {
  if (!FakeRuntime::Get().createBrowserResult) return false;
  FakeRuntime::Get().createdBrowsers.push_back({windowInfo, client, url.ToString(), settings});
  return true;
}

CefRefPtr<CefV8Value> CefV8Value::CreateString(const CefString& value) {
  return new FakeV8Value(value);
}
