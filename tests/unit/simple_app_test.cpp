#include "app/simple_app.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A global object that records what is set on it.
class RecordingGlobal : public CefV8Value {
 public:
  bool IsString() override { return false; }
  CefString GetStringValue() override { return CefString(); }
  bool SetValue(const CefString& key, CefRefPtr<CefV8Value> value,
                PropertyAttribute attribute) override {
    sets.push_back({key.ToString(), value->GetStringValue().ToString(), attribute});
    return false;  // a failing setter must not stop the next one
  }
  struct Set {
    std::string key;
    std::string value;
    PropertyAttribute attribute;
  };
  std::vector<Set> sets;
  IMPLEMENT_REFCOUNTING(RecordingGlobal);
};

class RecordingContext : public CefV8Context {
 public:
  CefRefPtr<CefV8Value> GetGlobal() override { return global; }
  CefRefPtr<RecordingGlobal> global = new RecordingGlobal;
  IMPLEMENT_REFCOUNTING(RecordingContext);
};

TEST(SimpleAppTest, EveryContextGetsTheTwoGlobalsAsPlainStrings) {
  CefRefPtr<SimpleApp> app = new SimpleApp;
  CefRefPtr<RecordingContext> context = new RecordingContext;
  app->GetRenderProcessHandler()->OnContextCreated(nullptr, nullptr, context);
  const auto& sets = context->global->sets;
  ASSERT_EQ(sets.size(), 2u);
  EXPECT_EQ(sets[0].key, "pavonix");
  EXPECT_EQ(sets[0].value, "pavonix");
  EXPECT_EQ(sets[0].attribute, V8_PROPERTY_ATTRIBUTE_NONE);
  EXPECT_EQ(sets[1].key, "appVersion");
  EXPECT_EQ(sets[1].value, "v5.7.2.1807251130");
  EXPECT_EQ(sets[1].attribute, V8_PROPERTY_ATTRIBUTE_NONE);
}

// Counts its own deletion, to check the reference counting.
class CountedApp : public SimpleApp {
 public:
  explicit CountedApp(int* deletions) : m_deletions(deletions) {}
  ~CountedApp() override { ++*m_deletions; }

 private:
  int* m_deletions;
};

TEST(SimpleAppTest, HandlersAreTheAppItselfAndTheLastReleaseDeletesItOnce) {
  int deletions = 0;
  SimpleApp* app = new CountedApp(&deletions);
  app->AddRef();
  EXPECT_TRUE(app->HasOneRef());
  {
    CefRefPtr<CefBrowserProcessHandler> browserHandler = app->GetBrowserProcessHandler();
    CefRefPtr<CefRenderProcessHandler> renderHandler = app->GetRenderProcessHandler();
    EXPECT_EQ(static_cast<SimpleApp*>(browserHandler.get()), app);
    EXPECT_EQ(static_cast<SimpleApp*>(renderHandler.get()), app);
    EXPECT_FALSE(app->HasOneRef());
  }
  EXPECT_TRUE(app->HasOneRef());
  app->AddRef();
  EXPECT_FALSE(app->Release());
  EXPECT_EQ(deletions, 0);
  EXPECT_TRUE(app->Release());
  EXPECT_EQ(deletions, 1);
}

}  // namespace
