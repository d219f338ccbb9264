#include "client/simple_handler.h"

#include <gtest/gtest.h>

#include "fakes/fake_runtime.h"

namespace {

class SimpleHandlerTest : public ::testing::Test {
 protected:
  void SetUp() override { FakeRuntime::Get().Reset(); }
  void TearDown() override {
    // Every test closes what it opened, so the process-wide count starts at 0.
    EXPECT_EQ(SimpleHandler::OpenBrowserCount(), 0);
  }

  CefRefPtr<FakeBrowser> Open(int id, bool popup) {
    CefRefPtr<FakeBrowser> browser = new FakeBrowser(id, popup);
    handler->OnAfterCreated(browser);
    return browser;
  }

  CefRefPtr<SimpleHandler> handler = new SimpleHandler;
};

TEST_F(SimpleHandlerTest, NoMainBrowserBeforeTheFirstAndAfterItCloses) {
  EXPECT_FALSE(handler->GetBrowser());
  CefRefPtr<FakeBrowser> main = Open(1, false);
  EXPECT_EQ(handler->GetBrowser().get(), main.get());
  EXPECT_TRUE(handler->PopupBrowsers().empty());
  handler->OnBeforeClose(main);
  EXPECT_FALSE(handler->GetBrowser());
  EXPECT_EQ(FakeRuntime::Get().quitMessageLoopCount, 1);
}

TEST_F(SimpleHandlerTest, PopupIsListedAndFocusedThroughAPostedTask) {
  CefRefPtr<FakeBrowser> main = Open(1, false);
  CefRefPtr<FakeBrowser> popup = Open(2, true);
  ASSERT_EQ(handler->PopupBrowsers().size(), 1u);
  EXPECT_EQ(handler->PopupBrowsers().front().get(), popup.get());
  EXPECT_TRUE(popup->host->focusCalls.empty()) << "focus must wait for the posted task";
  FakeRuntime::Get().RunPostedTasks();
  EXPECT_EQ(popup->host->focusCalls, std::vector<bool>{true});
  EXPECT_EQ(SimpleHandler::OpenBrowserCount(), 2);
  handler->OnBeforeClose(popup);
  handler->OnBeforeClose(main);
}

TEST_F(SimpleHandlerTest, FurtherNonPopupBrowserIsCountedButNeitherListedNorAdopted) {
  CefRefPtr<FakeBrowser> main = Open(1, false);
  CefRefPtr<FakeBrowser> other = Open(2, false);
  EXPECT_EQ(handler->GetBrowser().get(), main.get());
  EXPECT_TRUE(handler->PopupBrowsers().empty());
  EXPECT_EQ(SimpleHandler::OpenBrowserCount(), 2);
  handler->OnBeforeClose(other);
  EXPECT_EQ(handler->GetBrowser().get(), main.get());
  handler->OnBeforeClose(main);
}

TEST_F(SimpleHandlerTest, QuitsOnceWhenTheLastOfMainAndPopupsCloses) {
  CefRefPtr<FakeBrowser> main = Open(1, false);
  CefRefPtr<FakeBrowser> popup1 = Open(2, true);
  CefRefPtr<FakeBrowser> popup2 = Open(3, true);
  handler->OnBeforeClose(main);
  EXPECT_FALSE(handler->GetBrowser());
  EXPECT_EQ(handler->PopupBrowsers().size(), 2u);
  EXPECT_EQ(FakeRuntime::Get().quitMessageLoopCount, 0);
  handler->OnBeforeClose(popup1);
  EXPECT_EQ(handler->PopupBrowsers().size(), 1u);
  EXPECT_EQ(FakeRuntime::Get().quitMessageLoopCount, 0);
  handler->OnBeforeClose(popup2);
  EXPECT_TRUE(handler->PopupBrowsers().empty());
  EXPECT_EQ(FakeRuntime::Get().quitMessageLoopCount, 1);
}

TEST_F(SimpleHandlerTest, PopupAfterTheMainBrowserClosedBecomesTheMainBrowser) {
  CefRefPtr<FakeBrowser> main = Open(1, false);
  CefRefPtr<FakeBrowser> listed = Open(2, true);
  handler->OnBeforeClose(main);
  CefRefPtr<FakeBrowser> adopted = Open(3, true);
  EXPECT_EQ(handler->GetBrowser().get(), adopted.get());
  EXPECT_EQ(handler->PopupBrowsers().size(), 1u) << "the adopted popup is not listed";
  handler->OnBeforeClose(adopted);
  EXPECT_FALSE(handler->GetBrowser());
  EXPECT_EQ(handler->PopupBrowsers().size(), 1u);
  EXPECT_EQ(SimpleHandler::OpenBrowserCount(), 1);
  handler->OnBeforeClose(listed);
}

TEST_F(SimpleHandlerTest, CloseOfAnUnknownBrowserOnlyLowersTheCount) {
  CefRefPtr<FakeBrowser> main = Open(1, false);
  CefRefPtr<FakeBrowser> popup = Open(2, true);
  CefRefPtr<FakeBrowser> stranger = new FakeBrowser(9, true);
  handler->OnBeforeClose(stranger);
  EXPECT_EQ(handler->GetBrowser().get(), main.get());
  EXPECT_EQ(handler->PopupBrowsers().size(), 1u);
  EXPECT_EQ(SimpleHandler::OpenBrowserCount(), 1);
  // Give back the count the unknown close took, then close the rest.
  handler->OnAfterCreated(stranger);
  handler->OnBeforeClose(popup);
  handler->OnBeforeClose(main);
}

class RecordingDownloadCallback : public CefBeforeDownloadCallback {
 public:
  void Continue(const CefString& download_path, bool show_dialog) override {
    path = download_path.ToString();
    dialog = show_dialog;
    ++calls;
  }
  std::string path;
  bool dialog = false;
  int calls = 0;
  IMPLEMENT_REFCOUNTING(RecordingDownloadCallback);
};

TEST_F(SimpleHandlerTest, DownloadContinuesWithTheSuggestedNameThroughTheSaveDialog) {
  CefRefPtr<RecordingDownloadCallback> callback = new RecordingDownloadCallback;
  handler->OnBeforeDownload(nullptr, nullptr, "report – 2026.pdf", callback);
  EXPECT_EQ(callback->calls, 1);
  EXPECT_EQ(callback->path, "report – 2026.pdf");
  EXPECT_TRUE(callback->dialog);
}

TEST_F(SimpleHandlerTest, GettersReturnTheHandlerItself) {
  EXPECT_EQ(handler->GetLifeSpanHandler().get(), static_cast<CefLifeSpanHandler*>(handler.get()));
  EXPECT_EQ(handler->GetLoadHandler().get(), static_cast<CefLoadHandler*>(handler.get()));
  EXPECT_EQ(handler->GetDownloadHandler().get(), static_cast<CefDownloadHandler*>(handler.get()));
  EXPECT_EQ(handler->GetContextMenuHandler().get(),
            static_cast<CefContextMenuHandler*>(handler.get()));
}

}  // namespace
