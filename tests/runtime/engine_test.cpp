#include <QCoreApplication>
#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include "engine_fixture.h"

namespace runtime_test {
namespace {

constexpr char kRecordStartScript[] =
    "<script>window.seenAtStart = typeof appVersion === 'string' ? appVersion : 'missing';"
    "</script>";

TEST_F(EngineTest, BindingIsSetBeforeTheFirstScriptInEveryFrameAndInEveryNewDocument) {
  QWebEnginePage* page = openLoadedPage(
      writeFile("binding.html",
                QString("<html><head>%1</head><body><iframe srcdoc=\"%1\"></iframe></body></html>")
                    .arg(kRecordStartScript)));
  ASSERT_TRUE(page);

  EXPECT_EQ(Evaluate(page, "window.seenAtStart"), kVersionValue);
  EXPECT_EQ(EvaluateUntil(page, "frames[0].seenAtStart", kVersionValue), kVersionValue);

  const QString odd = QString::fromUtf8(R"(Object.getOwnPropertyDescriptor(window, "odd\"key\\"))");
  EXPECT_EQ(Evaluate(page, odd + ".value"), QString::fromUtf8(kOddValue));
  EXPECT_EQ(Evaluate(page, odd + ".writable"), "false");
  EXPECT_EQ(Evaluate(page, odd + ".enumerable"), "false");
  EXPECT_EQ(Evaluate(page, "Object.getOwnPropertyDescriptor(window, 'appVersion').enumerable"),
            "true");

  EXPECT_EQ(Evaluate(page, "delete window.appVersion; typeof window.appVersion"), "undefined");
  client->created.back()->Reload();
  EXPECT_EQ(EvaluateUntil(page, "typeof window.appVersion", "string"), "string");
  EXPECT_EQ(Evaluate(page, "window.appVersion"), kVersionValue);
}

struct MainFrameErrorCase {
  const char* name;
  bool missingFile;  // else an address under the reserved .invalid domain
  int code;
  const char* text;
};

class MainFrameErrorTest : public EngineTest,
                           public testing::WithParamInterface<MainFrameErrorCase> {};

TEST_P(MainFrameErrorTest,
       ReportsTheEnginesErrorAndShowsTheClientsPageUnderTheFailedAddressInNoOrigin) {
  const QString address = GetParam().missingFile ? pathOf("missing.html")
                                                 : QString("http://vintrel-test.invalid/start");
  const QString failedUrl = GetParam().missingFile ? FileUrl(address) : address;
  CefRefPtr<CefBrowser> browser = openBrowser(address);
  ASSERT_TRUE(browser);

  ASSERT_TRUE(WaitUntil([&] { return !client->loadErrors.empty(); }));
  const LoadError& error = client->loadErrors.front();
  EXPECT_TRUE(error.mainFrame);
  EXPECT_EQ(error.code, GetParam().code);
  EXPECT_EQ(error.text, GetParam().text);
  EXPECT_EQ(error.url, failedUrl.toStdString());

  QWebEnginePage* page = ViewOf(browser)->page();
  EXPECT_EQ(EvaluateUntil(page, "document.body.innerHTML.indexOf('<iframe>') >= 0", "true"),
            "true");
  EXPECT_EQ(page->url().toString(), failedUrl);
  // The page lives in the engine's error document, of no origin the failed page could share.
  EXPECT_EQ(Evaluate(page, "self.origin"), "null");
  EXPECT_EQ(browser->GetMainFrame()->GetURL().ToString(), failedUrl.toStdString());
  EXPECT_EQ(client->loadErrors.size(), 1u);  // showing the page is no failure of its own
}

INSTANTIATE_TEST_SUITE_P(Table, MainFrameErrorTest,
                         testing::Values(MainFrameErrorCase{"unresolvable_host", false, -105,
                                                            "net::ERR_NAME_NOT_RESOLVED"},
                                         MainFrameErrorCase{"missing_file", true, -6,
                                                            "net::ERR_FILE_NOT_FOUND"}),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(EngineTest, SubFrameErrorIsReportedForThatFrameWhichThenShowsTheClientsPage) {
  const QString parent = writeFile(
      "parent.html",
      "<html><body><p id='own'>parent</p><iframe src='missing-child.html'></iframe></body></html>");
  QWebEnginePage* page = openLoadedPage(parent);
  ASSERT_TRUE(page);

  ASSERT_TRUE(WaitUntil([&] { return !client->loadErrors.empty(); }));
  const LoadError& error = client->loadErrors.front();
  EXPECT_FALSE(error.mainFrame);
  EXPECT_EQ(error.code, -6);
  EXPECT_EQ(error.text, "net::ERR_FILE_NOT_FOUND");
  EXPECT_EQ(error.url, FileUrl(pathOf("missing-child.html")).toStdString());

  // The client's page holds an empty frame of its own, which the top frame can count.
  EXPECT_EQ(EvaluateUntil(page, "frames[0].length", "1"), "1");
  EXPECT_EQ(Evaluate(page, "document.getElementById('own').textContent"), "parent");
  EXPECT_EQ(Evaluate(page, "location.href"), FileUrl(parent));
  EXPECT_EQ(client->loadErrors.size(), 1u);
}

// A browser of its own window: the view fills a top-level window that is not
// the other browser's, and the window system maps no empty window.
void ExpectFillsAWindowOfItsOwn(const QWidget& view, const QWidget& other) {
  const QWidget* window = view.window();
  EXPECT_NE(window, other.window());
  EXPECT_FALSE(window->size().isEmpty());
  EXPECT_EQ(view.geometry(), window->rect());
}

TEST_F(EngineTest, DevToolsOpenInAWindowOfTheirOwnReportedToTheGivenClient) {
  QWebEnginePage* page =
      openLoadedPage(writeFile("inspected.html", "<html><title>Inspected</title></html>"));
  ASSERT_TRUE(page);
  CefRefPtr<CefBrowser> inspected = client->created.back();
  CefWindowInfo windowInfo;
  windowInfo.SetAsPopup(inspected->GetHost()->GetWindowHandle(), "DevTools");
  inspected->GetHost()->ShowDevTools(windowInfo, client, CefBrowserSettings(), CefPoint());

  ASSERT_TRUE(WaitUntil([&] { return client->created.size() == 2; }));
  QWebEngineView* tools = ViewOf(client->created.back());
  ASSERT_TRUE(tools);
  EXPECT_EQ(page->devToolsPage(), tools->page());
  ExpectFillsAWindowOfItsOwn(*tools, *ViewOf(inspected));
  EXPECT_TRUE(WaitUntil([&] { return tools->page()->url().scheme() == "devtools"; }));
  EXPECT_EQ(tools->window()->windowTitle(), "DevTools");

  // The tools belong to the inspected browser and go with it.
  const WarningCollector collector;
  inspected->GetHost()->CloseBrowser(false);
  EXPECT_TRUE(WaitUntil([&] { return client->closed.size() == 2; }));
  EXPECT_EQ(collector.warnings(), QStringList());
}

class PopupTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    writeFile("popup.html", "<html><head><title>Popup Title</title></head><body>pop</body></html>");
    opener = openLoadedPage(writeFile("opener.html", "<html><body>opener</body></html>"));
    ASSERT_TRUE(opener);
  }

  // Opens popup.html from the opener; returns the new browser.
  CefRefPtr<CefBrowser> openPopup() {
    const size_t before = client->created.size();
    EXPECT_EQ(Evaluate(opener, "!!window.open('popup.html')"), "true");
    EXPECT_TRUE(WaitUntil([&] { return client->created.size() > before; }));
    return client->created.size() > before ? client->created.back() : nullptr;
  }

  bool closedReported(CefRefPtr<CefBrowser> browser) const {
    for (const CefRefPtr<CefBrowser>& closed : client->closed)
      if (closed->IsSame(browser)) return true;
    return false;
  }

  QWebEnginePage* opener = nullptr;
};

TEST_F(PopupTest, PopupIsAWindowOfItsOwnReportedToTheSameClientAndClosedByScript) {
  CefRefPtr<CefBrowser> popup = openPopup();
  ASSERT_TRUE(popup);
  EXPECT_TRUE(popup->IsPopup());
  EXPECT_FALSE(client->created.front()->IsPopup());
  EXPECT_FALSE(popup->IsSame(client->created.front()));

  QWebEngineView* view = ViewOf(popup);
  ASSERT_TRUE(view);
  ExpectFillsAWindowOfItsOwn(*view, *ViewOf(client->created.front()));
  EXPECT_TRUE(WaitUntil([&] { return view->window()->windowTitle() == "Popup Title"; }))
      << view->window()->windowTitle().toStdString();

  Evaluate(view->page(), "window.close()");
  EXPECT_TRUE(WaitUntil([&] { return closedReported(popup); }));
  EXPECT_FALSE(closedReported(client->created.front()));
}

TEST_F(PopupTest, APopupOutlivesThePopupThatOpenedIt) {
  CefRefPtr<CefBrowser> first = openPopup();
  ASSERT_TRUE(first);
  QWebEngineView* firstView = ViewOf(first);
  EXPECT_EQ(EvaluateUntil(firstView->page(), "document.title", "Popup Title"), "Popup Title");
  const size_t before = client->created.size();
  EXPECT_EQ(Evaluate(firstView->page(), "!!window.open('popup.html?second')"), "true");
  ASSERT_TRUE(WaitUntil([&] { return client->created.size() > before; }));
  CefRefPtr<CefBrowser> second = client->created.back();
  const QPointer<QWebEngineView> secondView = ViewOf(second);
  ASSERT_TRUE(secondView);
  ExpectFillsAWindowOfItsOwn(*secondView, *firstView);
  EXPECT_EQ(EvaluateUntil(secondView->page(), "location.search", "?second"), "?second");

  first->GetHost()->CloseBrowser(false);
  ASSERT_TRUE(WaitUntil([&] { return closedReported(first); }));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(closedReported(second));
  ASSERT_TRUE(secondView);
  EXPECT_EQ(EvaluateUntil(secondView->page(), "document.title", "Popup Title"), "Popup Title");
}

TEST_F(PopupTest, PopupClosedByTheWindowManagerIsReported) {
  CefRefPtr<CefBrowser> popup = openPopup();
  ASSERT_TRUE(popup);
  QPointer<QWidget> window = ViewOf(popup)->window();
  window->close();
  EXPECT_TRUE(WaitUntil([&] { return closedReported(popup) && !window; }));
  EXPECT_EQ(popup->GetHost()->GetWindowHandle(), nullptr);
}

TEST_F(PopupTest, ShutdownClosesEveryBrowserBeforeTheProfileWithoutEngineWarnings) {
  CefRefPtr<CefBrowser> popup = openPopup();
  ASSERT_TRUE(popup);
  const QPointer<QWebEngineView> views[] = {ViewOf(client->created.front()), ViewOf(popup)};

  {
    const WarningCollector collector;
    CefShutdown();
    EXPECT_EQ(collector.warnings(), QStringList());
  }
  EXPECT_EQ(client->closed.size(), 2u);
  for (const QPointer<QWebEngineView>& view : views) EXPECT_TRUE(view.isNull());

  CefShutdown();
  EXPECT_EQ(client->closed.size(), 2u);
  EXPECT_FALSE(CefBrowserHost::CreateBrowser(CefWindowInfo(), client, "about:blank",
                                             CefBrowserSettings(), nullptr));
}

}  // namespace
}  // namespace runtime_test
