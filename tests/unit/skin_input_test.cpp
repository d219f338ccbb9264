#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QRegion>
#include <QTemporaryDir>

#include <string>
#include <vector>

#include "fakes/fake_runtime.h"
#include "mainwnd/main_frm.h"
#include "platform/qt/window_host.h"
#include "skin/caption_buttons.h"
#include "skin/skin_geometry.h"
#include "skin_test_support.h"

namespace {

constexpr int kLeft = 100;
constexpr int kTop = 50;
constexpr int kWidth = 1000;
constexpr int kHeight = 700;
// Caption background, away from the icon and the buttons.
const CPoint kCaption(500, 20);

constexpr int kNormal = 0;
constexpr int kHover = 1;
constexpr int kPressed = 2;

// What happened to a frame, kept outside it because the close button deletes it.
struct FrameLog {
  int paints = 0;
  std::vector<WPARAM> commands;
  std::vector<UINT> sysCommands;
  bool destroyed = false;
};

class TestFrame : public CMainFrame {
 public:
  explicit TestFrame(FrameLog* log) : m_log(log) {}
  ~TestFrame() override { m_log->destroyed = true; }

  void OnNcPaint() override {
    ++m_log->paints;
    CMainFrame::OnNcPaint();
  }

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    m_log->commands.push_back(wParam);
    return CMainFrame::OnCommand(wParam, lParam);
  }
  void OnSysCommand(UINT nID, LPARAM lParam) override {
    m_log->sysCommands.push_back(nID);
    CMainFrame::OnSysCommand(nID, lParam);
  }

 private:
  FrameLog* m_log;
};

// A skinned main frame 1000 x 700 at (100, 50) with colour-coded caption buttons,
// driven by non-client messages in screen coordinates.
class SkinInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeRuntime::Get().Reset();
    skin_test::SaveColourCodedButtons(m_skin.path());
    CSkinImageStore::DestroyInstance();
    CSkinImageStore::GetInstance()->m_strSkinRoot = CString(skin_test::Wide(m_skin.path() + "/"));
    frame = new TestFrame(&log);
    ASSERT_TRUE(frame->CreateEx(0, nullptr, L"lumerock", WS_OVERLAPPEDWINDOW | WS_VISIBLE, kLeft,
                                kTop, kWidth, kHeight, nullptr, 0));
    // The main frame asks for a window larger than this at creation.
    frame->MoveWindow(kLeft, kTop, kWidth, kHeight);
    QCoreApplication::processEvents();
    frame->OnNcPaint();
    log.paints = 0;
  }
  void TearDown() override {
    if (!log.destroyed) frame->DestroyWindow();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    g_handler = nullptr;
    CSkinImageStore::DestroyInstance();
  }

  skin::FrameLayout Layout() {
    const QSize size = frame->host()->size();
    return skin::LayoutFrame(SIZE{size.width(), size.height()}, SIZE{16, 16});
  }
  // A point inside caption button id where the window's layout has it now, dx, dy off
  // its top-left corner.
  CPoint On(UINT id, int dx = 2, int dy = 7) {
    const CRect rect = Layout().Button(id);
    return CPoint(rect.left + dx, rect.top + dy);
  }
  LPARAM ScreenParam(CPoint p) {
    CRect window;
    frame->GetWindowRect(&window);
    return MAKELPARAM(window.left + p.x, window.top + p.y);
  }
  // Sends a non-client mouse message at a point given in window coordinates.
  void Mouse(UINT message, CPoint p) {
    const LRESULT hit = frame->SendMessage(WM_NCHITTEST, 0, ScreenParam(p));
    frame->SendMessage(message, static_cast<WPARAM>(hit), ScreenParam(p));
  }
  LRESULT HitTest(CPoint p) { return frame->SendMessage(WM_NCHITTEST, 0, ScreenParam(p)); }
  void DeliverPostedMessages() { QCoreApplication::processEvents(); }
  // The frame of its strip that caption button id shows on the window.
  int Shown(UINT id) {
    return skin_test::ShownFrame(frame->host()->surface().pixels(), id, Layout().Button(id));
  }
  quint64 PixelsShown() { return frame->host()->surface().pixelsShown(); }

  QTemporaryDir m_skin;
  FrameLog log;
  TestFrame* frame = nullptr;
};

TEST_F(SkinInputTest, HitTestTable) {
  const struct {
    CPoint p;
    LRESULT code;
  } cases[] = {
      {On(skin::kCloseButtonId), HTCLOSE},
      {On(skin::kCloseButtonId, -1), HTCAPTION},  // the gap left of the close button
      {On(skin::kMaximizeButtonId), HTMAXBUTTON},
      {On(skin::kMinimizeButtonId), HTMINBUTTON},
      {On(skin::kAboutButtonId), HTCAPTION},  // the about button gets the default code
      {{20, 20}, HTSYSMENU},
      {kCaption, HTCAPTION},
      {{1, 300}, HTLEFT},
      {{998, 300}, HTRIGHT},
      {{500, 698}, HTBOTTOM},
      {{998, 698}, HTBOTTOMRIGHT},
      {{2, 10}, HTTOPLEFT},
      {{500, 1}, HTTOP},
      {{500, 300}, HTCLIENT},
  };
  for (const auto& c : cases) EXPECT_EQ(HitTest(c.p), c.code) << c.p.x << "," << c.p.y;
  frame->ShowWindow(SW_MAXIMIZE);
  EXPECT_EQ(HitTest(CPoint(500, 1)), HTCAPTION) << "a maximised window has no resize zones";
}

TEST_F(SkinInputTest, HoverFollowsTheCursorAndRepaintsOnlyOnChange) {
  const int paintsBefore = log.paints;
  const quint64 shownBefore = PixelsShown();
  Mouse(WM_NCMOUSEMOVE, On(skin::kMinimizeButtonId));
  EXPECT_EQ(Shown(skin::kMinimizeButtonId), kHover);
  DeliverPostedMessages();
  const CRect button = Layout().Button(skin::kMinimizeButtonId);
  EXPECT_EQ(PixelsShown() - shownBefore, quint64(button.Width() * button.Height()))
      << "a hover puts the button on screen and nothing else";
  EXPECT_EQ(log.paints, paintsBefore) << "nor redraws the whole frame";

  DeliverPostedMessages();
  const quint64 shown = PixelsShown();
  const int paints = log.paints;
  Mouse(WM_NCMOUSEMOVE, On(skin::kMinimizeButtonId, 7, 12));
  Mouse(WM_NCMOUSEMOVE, On(skin::kMinimizeButtonId, 12, 17));
  DeliverPostedMessages();
  EXPECT_EQ(PixelsShown(), shown) << "moves within one button repaint nothing";
  EXPECT_EQ(log.paints, paints);

  Mouse(WM_NCLBUTTONDOWN, On(skin::kMinimizeButtonId, 12, 17));
  EXPECT_EQ(Shown(skin::kMinimizeButtonId), kPressed);
  Mouse(WM_NCMOUSEMOVE, On(skin::kMaximizeButtonId));
  EXPECT_EQ(Shown(skin::kMinimizeButtonId), kNormal) << "hover and press both end";
  EXPECT_EQ(Shown(skin::kMaximizeButtonId), kHover);

  Mouse(WM_NCMOUSEMOVE, kCaption);
  EXPECT_EQ(Shown(skin::kMaximizeButtonId), kNormal);
  DeliverPostedMessages();
  const quint64 offButtons = PixelsShown();
  Mouse(WM_NCMOUSEMOVE, CPoint(kCaption.x + 10, kCaption.y));
  DeliverPostedMessages();
  EXPECT_EQ(PixelsShown(), offButtons) << "moves outside every button repaint nothing";

  Mouse(WM_NCMOUSEMOVE, On(skin::kCloseButtonId));
  EXPECT_EQ(Shown(skin::kCloseButtonId), kHover);
  frame->SendMessage(WM_NCMOUSELEAVE);
  EXPECT_EQ(Shown(skin::kCloseButtonId), kNormal);
}

TEST_F(SkinInputTest, ADisabledButtonIgnoresThePointer) {
  frame->EnableCaptionButton(skin::kMinimizeButtonId, FALSE);
  Mouse(WM_NCMOUSEMOVE, On(skin::kMinimizeButtonId));
  Mouse(WM_NCLBUTTONDOWN, On(skin::kMinimizeButtonId));
  EXPECT_EQ(Shown(skin::kMinimizeButtonId), kNormal);
  frame->EnableCaptionButton(skin::kMinimizeButtonId, TRUE);
  Mouse(WM_NCMOUSEMOVE, On(skin::kMaximizeButtonId));
  EXPECT_EQ(Shown(skin::kMaximizeButtonId), kHover) << "the pointer moved on";
}

TEST_F(SkinInputTest, AboutClickPostsItsCommandExactlyOnce) {
  Mouse(WM_NCMOUSEMOVE, On(skin::kAboutButtonId));
  Mouse(WM_NCLBUTTONDOWN, On(skin::kAboutButtonId));
  Mouse(WM_NCLBUTTONUP, On(skin::kAboutButtonId, 4, 8));
  EXPECT_TRUE(log.commands.empty()) << "the command is posted, not sent";
  DeliverPostedMessages();
  EXPECT_EQ(log.commands, std::vector<WPARAM>{10});
  EXPECT_EQ(Shown(skin::kAboutButtonId), kHover) << "no longer pressed";
  DeliverPostedMessages();
  EXPECT_EQ(log.commands.size(), 1u);
}

TEST_F(SkinInputTest, AboutPressMovedOffAndReleasedElsewherePostsNothing) {
  Mouse(WM_NCMOUSEMOVE, On(skin::kAboutButtonId));
  Mouse(WM_NCLBUTTONDOWN, On(skin::kAboutButtonId));
  EXPECT_EQ(Shown(skin::kAboutButtonId), kPressed);
  Mouse(WM_NCMOUSEMOVE, kCaption);
  EXPECT_EQ(Shown(skin::kAboutButtonId), kNormal);
  Mouse(WM_NCLBUTTONUP, kCaption);
  DeliverPostedMessages();
  EXPECT_TRUE(log.commands.empty());
  EXPECT_TRUE(log.sysCommands.empty());
}

TEST_F(SkinInputTest, AboutPressReleasedOnCloseClosesWithoutTheAboutCommand) {
  Mouse(WM_NCMOUSEMOVE, On(skin::kAboutButtonId));
  Mouse(WM_NCLBUTTONDOWN, On(skin::kAboutButtonId));
  Mouse(WM_NCMOUSEMOVE, On(skin::kCloseButtonId));
  Mouse(WM_NCLBUTTONUP, On(skin::kCloseButtonId));
  EXPECT_TRUE(log.destroyed);
  EXPECT_EQ(log.sysCommands, (std::vector<UINT>{SC_RESTORE, SC_CLOSE}));
  DeliverPostedMessages();
  EXPECT_TRUE(log.commands.empty());
}

TEST_F(SkinInputTest, WindowButtonsSendTheirSystemCommands) {
  Mouse(WM_NCLBUTTONUP, On(skin::kMaximizeButtonId));
  EXPECT_TRUE(frame->IsZoomed());
  Mouse(WM_NCLBUTTONUP, On(skin::kMaximizeButtonId));
  EXPECT_FALSE(frame->IsZoomed());
  Mouse(WM_NCLBUTTONUP, On(skin::kMinimizeButtonId));
  EXPECT_EQ(log.sysCommands, (std::vector<UINT>{SC_MAXIMIZE, SC_RESTORE, SC_MINIMIZE}));
}

TEST_F(SkinInputTest, AssistiveTechnologiesGetEveryButtonNamedByTheWindowsStateWhereItIsPainted) {
  frame->EnableCaptionButton(skin::kAboutButtonId, FALSE);
  for (bool maximised : {false, true}) {
    if (maximised) frame->ShowWindow(SW_MAXIMIZE);
    const QSize size = frame->host()->size();
    const skin::FrameLayout layout =
        skin::LayoutFrame(SIZE{size.width(), size.height()}, SIZE{16, 16});
    frame->OnNcPaint();
    std::vector<std::string> names;
    for (const platform::AccessibleCaptionButton& button : frame->AccessibleCaptionButtons()) {
      names.push_back(button.name.source);
      EXPECT_STREQ(button.name.context, "CaptionButton");
      EXPECT_EQ(CRect(button.rect), layout.Button(button.id));
      EXPECT_EQ(skin_test::ShownFrame(frame->host()->surface().pixels(), button.id, button.rect),
                kNormal)
          << button.id;
      EXPECT_EQ(button.enabled, button.id != skin::kAboutButtonId);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Close", maximised ? "Restore" : "Maximize",
                                               "Minimize", "About"}));
  }
}

TEST_F(SkinInputTest, PressingAButtonForAnAssistiveTechnologyDoesWhatAClickDoes) {
  frame->PressCaptionButton(skin::kMaximizeButtonId);
  EXPECT_TRUE(frame->IsZoomed());
  frame->PressCaptionButton(skin::kAboutButtonId);
  DeliverPostedMessages();
  EXPECT_EQ(log.commands, std::vector<WPARAM>{skin::kAboutButtonId});
  EXPECT_EQ(Shown(skin::kAboutButtonId), kNormal) << "no longer pressed";
  frame->EnableCaptionButton(skin::kMinimizeButtonId, FALSE);
  frame->PressCaptionButton(skin::kMinimizeButtonId);
  frame->PressCaptionButton(12345);  // no such button
  frame->PressCaptionButton(skin::kCloseButtonId);
  EXPECT_EQ(log.sysCommands, (std::vector<UINT>{SC_MAXIMIZE, SC_RESTORE, SC_CLOSE}));
  EXPECT_TRUE(log.destroyed);
}

TEST_F(SkinInputTest, DoubleClickOnTheCaptionTogglesMaximise) {
  for (bool maximised : {true, false}) {
    Mouse(WM_NCLBUTTONDOWN, kCaption);
    Mouse(WM_NCLBUTTONUP, kCaption);
    Mouse(WM_NCLBUTTONDBLCLK, kCaption);
    Mouse(WM_NCLBUTTONUP, kCaption);
    EXPECT_EQ(frame->IsZoomed() != FALSE, maximised);
  }
}

TEST_F(SkinInputTest, DoubleClickOnAWindowButtonSendsItsCommandTwice) {
  Mouse(WM_NCLBUTTONDOWN, On(skin::kMinimizeButtonId));
  Mouse(WM_NCLBUTTONUP, On(skin::kMinimizeButtonId));
  Mouse(WM_NCLBUTTONDBLCLK, On(skin::kMinimizeButtonId));
  EXPECT_EQ(Shown(skin::kMinimizeButtonId), kPressed);
  Mouse(WM_NCLBUTTONUP, On(skin::kMinimizeButtonId));
  EXPECT_EQ(log.sysCommands, (std::vector<UINT>{SC_MINIMIZE, SC_MINIMIZE}));
}

TEST_F(SkinInputTest, AboutCommandLoadsTheAboutPageOnceABrowserExists) {
  frame->SendMessage(WM_COMMAND, 10, 0);  // no browser yet: nothing happens
  CefRefPtr<FakeBrowser> browser = new FakeBrowser(1, false);
  g_handler->OnAfterCreated(browser);
  frame->SendMessage(WM_COMMAND, 10, 0);
  EXPECT_EQ(browser->frame->loadedUrls, std::vector<std::string>{AboutPageUrl()});
  g_handler->OnBeforeClose(browser);
}

TEST(AboutPageTest, HostComesFromTheEnvironmentWhenSet) {
  setenv("VINTREL_ABOUT_HOST", "127.0.0.1:8123", 1);
  EXPECT_EQ(AboutPageUrl(), "http://127.0.0.1:8123/about/index.htm?v3.7.1.1607051743");
  unsetenv("VINTREL_ABOUT_HOST");
  EXPECT_EQ(AboutPageUrl(), std::string("http://") + VINTREL_ABOUT_HOST_DEFAULT +
                                "/about/index.htm?v3.7.1.1607051743");
}

}  // namespace
