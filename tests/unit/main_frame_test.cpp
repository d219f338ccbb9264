#include <gtest/gtest.h>
#include <unistd.h>

#include <QUrl>
#include <QWidget>

#include <filesystem>

#include "app/vintrel_app.h"
#include "fakes/fake_runtime.h"
#include "mainwnd/main_frm.h"
#include "mainwnd/vintrel_doc.h"
#include "mainwnd/vintrel_view.h"
#include "platform/doc_template.h"
#include "platform/document.h"
#include "platform/qt/window_host.h"
#include "platform/win_app.h"
#include "res/resource.h"

namespace fs = std::filesystem;

namespace {

// The start-up path of the framework: a template opening a new document creates
// the document, the main frame, its view and the browser request.
class MainFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeRuntime::Get().Reset();
    g_handler = nullptr;
    m_app.InitContextMenuManager();  // as start-up does before any frame loads
    m_template = new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CVintrelDoc),
                                        RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CVintrelView));
    m_app.AddDocTemplate(m_template);
  }
  void TearDown() override {
    // The runtime reports the browser closed when its window goes with the frame.
    if (m_browser) m_browserClient->GetLifeSpanHandler()->OnBeforeClose(m_browser);
    if (m_app.m_pMainWnd) m_app.m_pMainWnd->SendMessage(WM_CLOSE);
    g_handler = nullptr;
  }

  CMainFrame* OpenFrame() {
    m_doc = m_template->OpenDocumentFile(nullptr);
    return dynamic_cast<CMainFrame*>(m_app.m_pMainWnd);
  }

  // Reports the browser the frame asked for as created, with a real child window.
  CefRefPtr<FakeBrowser> CompleteBrowserCreation() {
    const FakeRuntime::CreatedBrowser& request = FakeRuntime::Get().createdBrowsers.at(0);
    m_browserWidget = new QWidget(platform::ChildContainerOf(request.windowInfo.parent_window));
    m_browserWidget->setGeometry(request.windowInfo.x, request.windowInfo.y,
                                 request.windowInfo.width, request.windowInfo.height);
    m_browser = new FakeBrowser(1, false);
    m_browser->host->windowHandle = platform::HandleOf(m_browserWidget);
    m_browserClient = request.client;
    m_browserClient->GetLifeSpanHandler()->OnAfterCreated(m_browser);
    return m_browser;
  }

  CVintrelApp m_app;
  CSingleDocTemplate* m_template = nullptr;
  CDocument* m_doc = nullptr;
  QWidget* m_browserWidget = nullptr;
  CefRefPtr<FakeBrowser> m_browser;
  CefRefPtr<CefClient> m_browserClient;
};

TEST_F(MainFrameTest, CreationRequestsOneBrowserOverTheClientArea) {
  CMainFrame* frame = OpenFrame();
  ASSERT_NE(frame, nullptr);
  ASSERT_EQ(FakeRuntime::Get().createdBrowsers.size(), 1u);
  const FakeRuntime::CreatedBrowser& request = FakeRuntime::Get().createdBrowsers[0];
  CRect client;
  frame->GetClientRect(&client);
  EXPECT_EQ(request.windowInfo.style, 0x56010000u);
  EXPECT_EQ(request.windowInfo.x, -2);
  EXPECT_EQ(request.windowInfo.y, -2);
  EXPECT_EQ(request.windowInfo.width, client.right + 2);
  EXPECT_EQ(request.windowInfo.height, client.bottom + 2);
  EXPECT_EQ(request.windowInfo.parent_window, frame->GetSafeHwnd());
  EXPECT_EQ(request.windowInfo.ex_style, 0u);
  EXPECT_TRUE(request.windowInfo.window_name.empty());
  EXPECT_EQ(request.settings.local_storage, STATE_ENABLED);
  EXPECT_EQ(request.settings.databases, STATE_ENABLED);
  EXPECT_EQ(request.settings.javascript, STATE_DEFAULT);
  EXPECT_EQ(request.client.get(), static_cast<CefClient*>(g_handler.get()));
  EXPECT_EQ(m_doc->GetTitle(), CString(L"lumerock"));
  EXPECT_EQ(frame->GetWindowText(), CString(L"lumerock"));
}

TEST_F(MainFrameTest, StartPageIsAFileAddressInTheCurrentDirectoryWhateverItsName) {
  const fs::path previous = fs::current_path();
  const fs::path base =
      fs::temp_directory_path() / ("vintrel dir #1 %41 ?x ünï " + std::to_string(getpid()));
  fs::path dir = base;
  while (dir.native().size() < 300) dir /= "long folder name";
  fs::create_directories(dir);
  fs::current_path(dir);
  OpenFrame();
  fs::current_path(previous);
  ASSERT_EQ(FakeRuntime::Get().createdBrowsers.size(), 1u);
  const QUrl url(QString::fromStdString(FakeRuntime::Get().createdBrowsers[0].url),
                 QUrl::StrictMode);
  ASSERT_TRUE(url.isValid());
  EXPECT_TRUE(url.isLocalFile());
  const fs::path page = url.toLocalFile().toStdString();
  EXPECT_EQ(page.parent_path(), dir);
  EXPECT_TRUE(page.filename() == "request.html" || page.filename() == "Error.html") << page;
  fs::remove_all(base);
}

TEST_F(MainFrameTest, ViewResizeMovesTheBrowserOverTheViewWithItsOverhang) {
  CMainFrame* frame = OpenFrame();
  CefRefPtr<FakeBrowser> browser = CompleteBrowserCreation();
  // Until the next view resize the browser keeps the frame's creation rectangle.
  EXPECT_EQ(m_browserWidget->pos(), QPoint(-2, -2));
  frame->MoveWindow(0, 0, 1200, 900);
  CRect frameClient;
  frame->GetClientRect(&frameClient);
  CView* view = frame->GetActiveView();
  CRect viewClient;
  view->GetClientRect(&viewClient);
  EXPECT_EQ(viewClient.Width(), frameClient.Width() - 4) << "the view's 2-pixel edge";
  EXPECT_EQ(m_browserWidget->geometry(),
            QRect(-9, -9, viewClient.Width() + 20, viewClient.Height() + 20));
}

TEST_F(MainFrameTest, SecondCreationWithABrowserMakesNoNewHandlerOrBrowser) {
  CMainFrame* frame = OpenFrame();
  CompleteBrowserCreation();
  SimpleHandler* handler = g_handler.get();
  CREATESTRUCT cs{};
  EXPECT_EQ(frame->SendMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)), 0);
  EXPECT_EQ(g_handler.get(), handler);
  EXPECT_EQ(FakeRuntime::Get().createdBrowsers.size(), 1u);
}

TEST_F(MainFrameTest, SecondCreationWithoutABrowserReplacesTheHandler) {
  CMainFrame* frame = OpenFrame();
  SimpleHandler* handler = g_handler.get();
  CREATESTRUCT cs{};
  EXPECT_EQ(frame->SendMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)), 0);
  EXPECT_NE(g_handler.get(), handler);
  EXPECT_EQ(FakeRuntime::Get().createdBrowsers.size(), 2u);
}

TEST_F(MainFrameTest, CaptionStaysTheApplicationTitle) {
  CMainFrame* frame = OpenFrame();
  m_doc->SetTitle(L"some document.txt");
  frame->OnUpdateFrameTitle(TRUE);
  EXPECT_EQ(frame->GetWindowText(), CString(L"lumerock"));
}

TEST_F(MainFrameTest, ViewNonClientPaintInvalidatesTheBrowserAndNothingElse) {
  CMainFrame* frame = OpenFrame();
  frame->GetActiveView()->SendMessage(WM_NCPAINT, 1, 0);  // no browser yet: nothing happens
  CefRefPtr<FakeBrowser> browser = CompleteBrowserCreation();
  frame->GetActiveView()->SendMessage(WM_NCPAINT, 1, 0);
  EXPECT_EQ(browser->host->invalidateCount, 1);
}

TEST_F(MainFrameTest, DestroyingTheFrameShutsTheRuntimeDownOnceAndEndsTheLoop) {
  OpenFrame();
  EXPECT_EQ(FakeRuntime::Get().shutdownCount, 0);
  m_app.m_pMainWnd->SendMessage(WM_CLOSE);
  EXPECT_EQ(m_app.m_pMainWnd, nullptr);
  EXPECT_EQ(FakeRuntime::Get().shutdownCount, 1);
}

}  // namespace
