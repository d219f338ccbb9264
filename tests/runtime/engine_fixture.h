#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "runtime/cef_app.h"
#include "runtime/cef_client.h"

class QWebEnginePage;
class QWebEngineView;

namespace runtime_test {

constexpr char kVersionKey[] = "appVersion";
constexpr char kVersionValue[] = "v5.7.2.1807251130";
// A key and a value that only survive correct escaping into script.
constexpr char kOddKey[] = "odd\"key\\";
constexpr char kOddValue[] = "</script>\n\xE5\x85\xB3'";

// Sets what the shell sets on every new script context, plus a read-only,
// hidden property with characters that need escaping.
class BindingApp : public CefApp, public CefRenderProcessHandler {
 public:
  CefRefPtr<CefRenderProcessHandler> GetRenderProcessHandler() override { return this; }
  void OnContextCreated(CefRefPtr<CefBrowser>, CefRefPtr<CefFrame>,
                        CefRefPtr<CefV8Context> context) override;
  IMPLEMENT_REFCOUNTING(BindingApp);
};

struct LoadError {
  bool mainFrame;
  int code;
  std::string text;
  std::string url;
};

// Records what the runtime reports; answers load errors with a page of its own
// in the failed frame, as the shell does, replaces every context menu with
// menuItems (empty: no menu), and lets every download go on through the save
// dialog with the suggested name, as the shell does.
class RecordingClient : public CefClient,
                        public CefContextMenuHandler,
                        public CefDownloadHandler,
                        public CefLifeSpanHandler,
                        public CefLoadHandler {
 public:
  static constexpr char kErrorPageMarker[] = "<iframe></iframe>";

  CefRefPtr<CefContextMenuHandler> GetContextMenuHandler() override { return this; }
  CefRefPtr<CefDownloadHandler> GetDownloadHandler() override { return this; }
  CefRefPtr<CefLifeSpanHandler> GetLifeSpanHandler() override { return this; }
  CefRefPtr<CefLoadHandler> GetLoadHandler() override { return this; }

  void OnAfterCreated(CefRefPtr<CefBrowser> browser) override { created.push_back(browser); }
  void OnBeforeClose(CefRefPtr<CefBrowser> browser) override { closed.push_back(browser); }
  void OnLoadError(CefRefPtr<CefBrowser>, CefRefPtr<CefFrame> frame, ErrorCode errorCode,
                   const CefString& errorText, const CefString& failedUrl) override;

  void OnBeforeContextMenu(CefRefPtr<CefBrowser>, CefRefPtr<CefFrame>,
                           CefRefPtr<CefContextMenuParams> params,
                           CefRefPtr<CefMenuModel> model) override;
  bool OnContextMenuCommand(CefRefPtr<CefBrowser>, CefRefPtr<CefFrame>,
                            CefRefPtr<CefContextMenuParams>, int command_id, EventFlags) override {
    commands.push_back(command_id);
    return false;
  }

  void OnBeforeDownload(CefRefPtr<CefBrowser>, CefRefPtr<CefDownloadItem>,
                        const CefString& suggested_name,
                        CefRefPtr<CefBeforeDownloadCallback> callback) override {
    suggestedNames.push_back(suggested_name.ToString());
    callback->Continue(suggested_name, true);
  }

  std::vector<std::pair<int, std::string>> menuItems;
  std::vector<std::string> suggestedNames;
  TypeFlags menuTypeFlags = 0;
  int engineItemCount = 0;
  std::vector<int> commands;

  std::vector<CefRefPtr<CefBrowser>> created;
  std::vector<CefRefPtr<CefBrowser>> closed;
  std::vector<LoadError> loadErrors;
  IMPLEMENT_REFCOUNTING(RecordingClient);
};

// One runtime per test, on the engine that the whole program shares; pages and
// files live in a folder of the test's own, which is the working directory, as
// the app's folder is for the shell.
class EngineTest : public testing::Test {
 protected:
  EngineTest();
  void SetUp() override;
  void TearDown() override;

  // A file in the test's folder; returns its path.
  QString writeFile(const QString& name, const QString& content);
  QString pathOf(const QString& name) const;

  // Creates a browser as the main frame does and waits for OnAfterCreated.
  CefRefPtr<CefBrowser> openBrowser(const QString& url);
  // Opens a browser on the file and waits until its document has loaded.
  QWebEnginePage* openLoadedPage(const QString& path);

  CefRefPtr<RecordingClient> client{new RecordingClient};
  QTemporaryDir folder;
  // What SetUp initialises the runtime with; no cache folder unless a test sets one.
  CefSettings settings;

 private:
  QString m_previousDirectory;
};

// Generous: the engine starts slowly on a busy machine.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 30000);

// Collects the warnings that Qt and the engine print while it lives.
class WarningCollector {
 public:
  WarningCollector();
  ~WarningCollector();
  QStringList warnings() const;

 private:
  QtMessageHandler m_previous;
};
QWebEngineView* ViewOf(CefRefPtr<CefBrowser> browser);
// Runs script in the page's top frame and waits for its result, as text.
QString Evaluate(QWebEnginePage* page, const QString& script);
// Waits until script evaluates to expected in the page; returns the last value.
QString EvaluateUntil(QWebEnginePage* page, const QString& script, const QString& expected);
QString FileUrl(const QString& path);

}  // namespace runtime_test

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

namespace runtime_test {}  // namespace runtime_test
