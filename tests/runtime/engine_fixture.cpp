#include "engine_fixture.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <memory>
#include <optional>

#include "runtime/cef_v8.h"

namespace runtime_test {

void BindingApp::OnContextCreated(CefRefPtr<CefBrowser>, CefRefPtr<CefFrame>,
                                  CefRefPtr<CefV8Context> context) {
  CefRefPtr<CefV8Value> global = context->GetGlobal();
  global->SetValue(kVersionKey, CefV8Value::CreateString(kVersionValue),
                   V8_PROPERTY_ATTRIBUTE_NONE);
  global->SetValue(kOddKey, CefV8Value::CreateString(kOddValue),
                   static_cast<PropertyAttribute>(V8_PROPERTY_ATTRIBUTE_READONLY |
                                                  V8_PROPERTY_ATTRIBUTE_DONTENUM));
}

void RecordingClient::OnLoadError(CefRefPtr<CefBrowser>, CefRefPtr<CefFrame> frame,
                                  ErrorCode errorCode, const CefString& errorText,
                                  const CefString& failedUrl) {
  loadErrors.push_back({frame->IsMain(), errorCode, errorText.ToString(), failedUrl.ToString()});
  if (errorCode == ERR_ABORTED) return;
  frame->LoadString(
      std::string("<html><body><h2>Failed ") + kErrorPageMarker + "</h2></body></html>", failedUrl);
}

void RecordingClient::OnBeforeContextMenu(CefRefPtr<CefBrowser>, CefRefPtr<CefFrame>,
                                          CefRefPtr<CefContextMenuParams> params,
                                          CefRefPtr<CefMenuModel> model) {
  menuTypeFlags = params->GetTypeFlags();
  engineItemCount = model->GetCount();
  model->Clear();
  for (const auto& [id, label] : menuItems) model->AddItem(id, label);
}

EngineTest::EngineTest() {
  settings.no_sandbox = 1;
  settings.background_color = 0x02FFFFFF;
}

void EngineTest::SetUp() {
  ASSERT_TRUE(folder.isValid());
  m_previousDirectory = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(folder.path()));
  ASSERT_TRUE(CefInitialize(CefMainArgs(), settings, new BindingApp, nullptr));
}

void EngineTest::TearDown() {
  CefShutdown();
  // The engine's storage may still be writing into a cache folder for a moment.
  WaitUntil([&] { return QDir(folder.path()).removeRecursively(); }, 5000);
  QDir::setCurrent(m_previousDirectory);
}

QString EngineTest::pathOf(const QString& name) const { return QDir(folder.path()).filePath(name); }

QString EngineTest::writeFile(const QString& name, const QString& content) {
  QFile file(pathOf(name));
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(content.toUtf8());
  return file.fileName();
}

CefRefPtr<CefBrowser> EngineTest::openBrowser(const QString& url) {
  CefWindowInfo windowInfo;
  windowInfo.width = 400;
  windowInfo.height = 300;
  const size_t before = client->created.size();
  EXPECT_TRUE(CefBrowserHost::CreateBrowser(windowInfo, client, url.toStdString(),
                                            CefBrowserSettings(), nullptr));
  EXPECT_TRUE(WaitUntil([&] { return client->created.size() > before; }));
  return client->created.size() > before ? client->created.back() : nullptr;
}

QWebEnginePage* EngineTest::openLoadedPage(const QString& path) {
  CefRefPtr<CefBrowser> browser = openBrowser(path);
  if (!browser) return nullptr;
  QWebEnginePage* page = ViewOf(browser)->page();
  const QString loaded = "location.href + ' ' + document.readyState";
  EXPECT_EQ(EvaluateUntil(page, loaded, FileUrl(path) + " complete"), FileUrl(path) + " complete");
  return page;
}

namespace {
QStringList g_warnings;
}  // namespace

WarningCollector::WarningCollector() {
  g_warnings.clear();
  m_previous =
      qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type != QtDebugMsg && type != QtInfoMsg) g_warnings << text;
      });
}

WarningCollector::~WarningCollector() { qInstallMessageHandler(m_previous); }

QStringList WarningCollector::warnings() const { return g_warnings; }

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
  return QTest::qWaitFor(condition, timeoutMs);
}

QWebEngineView* ViewOf(CefRefPtr<CefBrowser> browser) {
  return qobject_cast<QWebEngineView*>(
      reinterpret_cast<QWidget*>(browser->GetHost()->GetWindowHandle()));
}

namespace {

// Long enough for any answer from a live document on a busy machine.
constexpr int kAnswerTimeoutMs = 30000;
// A call that reaches a document just being replaced is never answered; a call
// that is still waiting after this long is asked again.
constexpr int kRetryAnswerAfterMs = 2000;

// The answer to script, or nothing when none came within timeoutMs.
std::optional<QString> TryEvaluate(QWebEnginePage* page, const QString& script, int timeoutMs) {
  // Shared: a late answer must not write into a finished call.
  auto result = std::make_shared<std::optional<QVariant>>();
  page->runJavaScript(script, [result](const QVariant& value) { *result = value; });
  if (!WaitUntil([&] { return result->has_value(); }, timeoutMs)) return std::nullopt;
  return result->value().toString();
}

}  // namespace

QString Evaluate(QWebEnginePage* page, const QString& script) {
  const std::optional<QString> answer = TryEvaluate(page, script, kAnswerTimeoutMs);
  EXPECT_TRUE(answer.has_value()) << script.toStdString();
  return answer.value_or(QString());
}

QString EvaluateUntil(QWebEnginePage* page, const QString& script, const QString& expected) {
  QString last;
  WaitUntil(
      [&] {
        const std::optional<QString> answer = TryEvaluate(page, script, kRetryAnswerAfterMs);
        if (answer) last = *answer;
        return answer == expected;
      },
      kAnswerTimeoutMs);
  return last;
}

QString FileUrl(const QString& path) { return QUrl::fromLocalFile(path).toString(); }

}  // namespace runtime_test
