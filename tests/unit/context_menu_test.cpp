#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "client/simple_handler.h"
#include "fakes/fake_runtime.h"

namespace fs = std::filesystem;

namespace {

class FakeMenuModel : public CefMenuModel {
 public:
  bool Clear() override {
    ++clearCount;
    items.clear();
    return true;
  }
  int GetCount() override { return static_cast<int>(items.size()); }
  bool AddItem(int command_id, const CefString& label) override {
    items.push_back({command_id, label.ToString()});
    return true;
  }
  int GetCommandIdAt(int index) override { return items.at(static_cast<size_t>(index)).id; }
  CefString GetLabelAt(int index) override { return items.at(static_cast<size_t>(index)).label; }

  struct Item {
    int id;
    std::string label;
    bool operator==(const Item& o) const { return id == o.id && label == o.label; }
  };
  std::vector<Item> items;
  int clearCount = 0;
  IMPLEMENT_REFCOUNTING(FakeMenuModel);
};

class FakeParams : public CefContextMenuParams {
 public:
  explicit FakeParams(TypeFlags flags) : m_flags(flags) {}
  TypeFlags GetTypeFlags() override { return m_flags; }

 private:
  TypeFlags m_flags;
  IMPLEMENT_REFCOUNTING(FakeParams);
};

// Runs each test in a fresh current directory, where it may put a debug marker.
class ContextMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_previous = fs::current_path();
    m_dir = fs::temp_directory_path() / ("vintrel-menu-" + std::to_string(getpid()));
    fs::remove_all(m_dir);
    fs::create_directories(m_dir);
    fs::current_path(m_dir);
  }
  void TearDown() override {
    fs::current_path(m_previous);
    fs::remove_all(m_dir);
  }

  std::vector<FakeMenuModel::Item> BuildMenu(TypeFlags flags,
                                             std::vector<FakeMenuModel::Item> start) {
    CefRefPtr<FakeMenuModel> model = new FakeMenuModel;
    model->items = std::move(start);
    handler->OnBeforeContextMenu(nullptr, nullptr, new FakeParams(flags), model);
    return model->items;
  }

  CefRefPtr<SimpleHandler> handler = new SimpleHandler;
  fs::path m_dir;

 private:
  fs::path m_previous;
};

const std::vector<FakeMenuModel::Item> kRefreshOnly = {{0, "Refresh"}};
const std::vector<FakeMenuModel::Item> kWithDevTools = {{0, "Refresh"}, {1, "&Show DevTools"}};
const std::vector<FakeMenuModel::Item> kEngineItems = {{100, "Back"}, {101, "Forward"}};

TEST_F(ContextMenuTest, MenuFollowsTheDebugMarkerAtEveryBuild) {
  EXPECT_EQ(BuildMenu(CM_TYPEFLAG_PAGE, kEngineItems), kRefreshOnly);
  std::ofstream(m_dir / "debug").put('x');
  EXPECT_EQ(BuildMenu(CM_TYPEFLAG_PAGE, kEngineItems), kWithDevTools);
  fs::remove(m_dir / "debug");
  fs::create_directory(m_dir / "debug");
  EXPECT_EQ(BuildMenu(CM_TYPEFLAG_FRAME, kEngineItems), kWithDevTools);
  fs::remove(m_dir / "debug");
  EXPECT_EQ(BuildMenu(CM_TYPEFLAG_PAGE | CM_TYPEFLAG_LINK, kEngineItems), kRefreshOnly);
}

TEST_F(ContextMenuTest, EmptyModelStillGetsRefresh) {
  CefRefPtr<FakeMenuModel> model = new FakeMenuModel;
  handler->OnBeforeContextMenu(nullptr, nullptr, new FakeParams(CM_TYPEFLAG_PAGE), model);
  EXPECT_EQ(model->items, kRefreshOnly);
  EXPECT_EQ(model->clearCount, 0);
}

TEST_F(ContextMenuTest, WithoutPageOrFrameTheEngineMenuStaysAsItIs) {
  std::ofstream(m_dir / "debug").put('x');
  for (TypeFlags flags : std::initializer_list<TypeFlags>{CM_TYPEFLAG_NONE, CM_TYPEFLAG_LINK,
                                                          CM_TYPEFLAG_MEDIA | CM_TYPEFLAG_SELECTION,
                                                          CM_TYPEFLAG_EDITABLE}) {
    EXPECT_EQ(BuildMenu(flags, kEngineItems), kEngineItems) << "flags " << flags;
  }
}

TEST_F(ContextMenuTest, ADirectoryTooLongForTheMarkerPathMeansNoMarker) {
  // Nest folders until the current directory leaves no room for "/debug".
  fs::path deep = m_dir;
  while (deep.native().size() + 6 < 260) deep /= "d";
  fs::create_directories(deep / "debug");
  fs::current_path(deep);
  EXPECT_EQ(BuildMenu(CM_TYPEFLAG_PAGE, {}), kRefreshOnly);
}

TEST(ContextMenuCommandTest, RefreshReloadsAndIsNotHandled) {
  CefRefPtr<SimpleHandler> handler = new SimpleHandler;
  CefRefPtr<FakeBrowser> browser = new FakeBrowser(1, false);
  EXPECT_FALSE(handler->OnContextMenuCommand(browser, nullptr, nullptr, 0, 0));
  EXPECT_EQ(browser->reloadCount, 1);
  EXPECT_TRUE(browser->host->devTools.empty());
}

TEST(ContextMenuCommandTest, ShowDevToolsOpensAPopupTitledDevToolsOwnedByTheBrowser) {
  CefRefPtr<SimpleHandler> handler = new SimpleHandler;
  CefRefPtr<FakeBrowser> browser = new FakeBrowser(1, false);
  browser->host->windowHandle = reinterpret_cast<HWND>(0x1234);
  EXPECT_TRUE(handler->OnContextMenuCommand(browser, nullptr, nullptr, 1, 0));
  ASSERT_EQ(browser->host->devTools.size(), 1u);
  const FakeBrowserHost::DevToolsCall& call = browser->host->devTools[0];
  EXPECT_EQ(call.windowInfo.window_name.ToString(), "DevTools");
  EXPECT_EQ(call.windowInfo.parent_window, reinterpret_cast<HWND>(0x1234));
  EXPECT_EQ(call.windowInfo.style, 0x16CF0000u);
  EXPECT_EQ(call.windowInfo.x, CW_USEDEFAULT);
  EXPECT_EQ(call.windowInfo.width, CW_USEDEFAULT);
  EXPECT_EQ(call.client.get(), static_cast<CefClient*>(handler.get()));
  EXPECT_EQ(call.inspect.x, 0);
  EXPECT_EQ(call.inspect.y, 0);
  EXPECT_EQ(browser->reloadCount, 0);
}

TEST(ContextMenuCommandTest, AnyOtherIdIsHandledAndDoesNothing) {
  CefRefPtr<SimpleHandler> handler = new SimpleHandler;
  CefRefPtr<FakeBrowser> browser = new FakeBrowser(1, false);
  for (int id : {2, 100, -1, 26500}) {
    EXPECT_TRUE(handler->OnContextMenuCommand(browser, nullptr, nullptr, id, 0)) << id;
  }
  EXPECT_EQ(browser->reloadCount, 0);
  EXPECT_TRUE(browser->host->devTools.empty());
}

}  // namespace
