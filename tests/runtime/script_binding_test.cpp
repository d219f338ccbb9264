#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "runtime/cef_app.h"
#include "runtime/qt/script_binding.h"

namespace {

// A value of a kind the recording cannot carry into a page, as an application's own
// value type would be.
class NumberValue : public CefV8Value {
 public:
  bool IsString() override { return false; }
  CefString GetStringValue() override { return CefString(); }
  bool SetValue(const CefString&, CefRefPtr<CefV8Value>, PropertyAttribute) override {
    return false;
  }
  IMPLEMENT_REFCOUNTING(NumberValue);
};

class MixedGlobalsApp : public CefApp, public CefRenderProcessHandler {
 public:
  CefRefPtr<CefRenderProcessHandler> GetRenderProcessHandler() override { return this; }
  void OnContextCreated(CefRefPtr<CefBrowser>, CefRefPtr<CefFrame>,
                        CefRefPtr<CefV8Context> context) override {
    CefRefPtr<CefV8Value> global = context->GetGlobal();
    setResults.push_back(
        global->SetValue("before", CefV8Value::CreateString("kept"), V8_PROPERTY_ATTRIBUTE_NONE));
    setResults.push_back(global->SetValue("count", new NumberValue, V8_PROPERTY_ATTRIBUTE_NONE));
    setResults.push_back(global->SetValue("missing\n", nullptr, V8_PROPERTY_ATTRIBUTE_NONE));
    setResults.push_back(global->SetValue("after", CefV8Value::CreateString("kept too"),
                                          V8_PROPERTY_ATTRIBUTE_NONE));
  }
  std::vector<bool> setResults;
  IMPLEMENT_REFCOUNTING(MixedGlobalsApp);
};

// The shell's own lines among what the engine's processes, shared by the whole
// program, may print meanwhile.
std::vector<std::string> ShellLines(const std::string& output) {
  std::vector<std::string> lines;
  std::istringstream stream(output);
  for (std::string line; std::getline(stream, line);) {
    if (line.rfind("vintrel: ", 0) == 0) lines.push_back(line);
  }
  return lines;
}

TEST(ScriptBindingTest, AGlobalThatIsNotAStringIsLeftOutWithOneWarningLineEach) {
  CefRefPtr<MixedGlobalsApp> app(new MixedGlobalsApp);
  testing::internal::CaptureStderr();
  const QString script = runtime::RecordScriptBinding(app);
  const std::string output = testing::internal::GetCapturedStderr();

  EXPECT_EQ(app->setResults, (std::vector<bool>{true, false, false, true}));
  // The key is quoted as script writes it, so an odd key cannot break the line.
  EXPECT_EQ(ShellLines(output),
            (std::vector<std::string>{
                "vintrel: the script global \"count\" is not a string and is left out of every "
                "page",
                "vintrel: the script global \"missing\\n\" is not a string and is left out of "
                "every page"}));
  EXPECT_TRUE(script.contains("\"before\",{value:\"kept\""));
  EXPECT_TRUE(script.contains("\"after\",{value:\"kept too\""));
  EXPECT_FALSE(script.contains("count"));
  EXPECT_FALSE(script.contains("missing"));
}

}  // namespace
