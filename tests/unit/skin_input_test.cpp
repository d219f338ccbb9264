#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QRegion>

#include <string>
#include <vector>

#include "fakes/fake_runtime.h"
#include "mainwnd/main_frm.h"
#include "platform/qt/window_host.h"
#include "skin/caption_buttons.h"

namespace {

constexpr int kLeft = 100;
constexpr int kTop = 50;
constexpr int kWidth = 1000;
constexpr int kHeight = 700;

// A point inside caption button id of the placed frame, dx, dy off its top-left corner.
CPoint On(UINT id, int dx = 2, int dy = 7) {
  const CRect rect = skin::PlacedButtonRect(*skin::FindCaptionButton(id), kWidth);
  return CPoint(rect.left + dx, rect.top + dy);
}
const CPoint kClose = On(skin::kCloseButtonId);
const CPoint kMaximize = On(skin::kMaximizeButtonId);
const CPoint kMinimize = On(skin::kMinimizeButtonId);
const CPoint kAbout = On(skin::kAboutButtonId);
// Caption background, away from the icon and the buttons.
const CPoint kCaption(500, 20);

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
  using CSkinFrameWnd::ButtonFromPoint;
  using CSkinFrameWnd::m_buttons;
  using CSkinFrameWnd::m_nHoverId;
  using CSkinFrameWnd::m_rcIcon;

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

// A skinned main frame 1000 x 700 at (100, 50), driven by non-client messages in
// screen coordinates.
class SkinInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeRuntime::Get().Reset();
    frame = new TestFrame(&log);
    ASSERT_TRUE(frame->CreateEx(0, nullptr, L"lumerock", WS_OVERLAPPEDWINDOW, kLeft, kTop, kWidth,
                                kHeight, nullptr, 0));
    // The main frame asks for a window larger than this at creation.
    frame->MoveWindow(kLeft, kTop, kWidth, kHeight);
    log.paints = 0;
  }
  void TearDown() override {
    if (!log.destroyed) frame->DestroyWindow();
    g_handler = nullptr;
  }

  // Sends a non-client mouse message at a point given in window coordinates.
  void Mouse(UINT message, CPoint p) {
    const LPARAM screen = MAKELPARAM(kLeft + p.x, kTop + p.y);
    const LRESULT hit = frame->SendMessage(WM_NCHITTEST, 0, screen);
    frame->SendMessage(message, static_cast<WPARAM>(hit), screen);
  }
  LRESULT HitTest(CPoint p) {
    return frame->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(kLeft + p.x, kTop + p.y));
  }
  void DeliverPostedMessages() { QCoreApplication::processEvents(); }
  const CDUIButton& Button(int id) { return frame->m_buttons.at(id); }

  FrameLog log;
  TestFrame* frame = nullptr;
};

TEST_F(SkinInputTest, HitTestTable) {
  const struct {
    CPoint p;
    LRESULT code;
  } cases[] = {
      {kClose, HTCLOSE},
      {On(skin::kCloseButtonId, -1), HTCAPTION},  // the gap left of the close button
      {kMaximize, HTMAXBUTTON},
      {kMinimize, HTMINBUTTON},
      {kAbout, HTCAPTION},  // the about button gets the default code
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
}

TEST_F(SkinInputTest, AButtonOverTheIconWinsOverTheSystemMenu) {
  frame->m_buttons[110].m_rect = frame->m_rcIcon;
  EXPECT_EQ(HitTest(CPoint(frame->m_rcIcon.left + 1, frame->m_rcIcon.top + 1)), HTCLOSE);
}

TEST_F(SkinInputTest, BeforeTheFirstResizeAllButtonsShareOneRectangleAndTheAboutButtonWins) {
  CREATESTRUCT cs{};
  frame->SendMessage(WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs));
  const CRect start = skin::CreationButtonRect(kWidth);
  for (const skin::CaptionButton& entry : skin::kCaptionButtons)
    EXPECT_EQ(Button(int(entry.id)).m_rect, start) << entry.id;
  const CPoint inside(start.left + 5, start.top + 5);
  EXPECT_EQ(frame->ButtonFromPoint(inside), 10);
  EXPECT_EQ(HitTest(inside), HTCAPTION);
}

TEST_F(SkinInputTest, AboutButtonSitsLeftOfTheMinimiseButton) {
  EXPECT_EQ(Button(10).m_rect, CRect(904, 8, 924, 30));
  EXPECT_LT(Button(10).m_rect.right, Button(112).m_rect.left);
}

TEST_F(SkinInputTest, AResizePlacesEveryButtonAndRepaintsOnce) {
  frame->host()->resize(1200, 800);
  frame->SendMessage(WM_SIZE, SIZE_RESTORED, 0);
  EXPECT_EQ(log.paints, 1);
  EXPECT_EQ(Button(10).m_rect, CRect(1104, 8, 1124, 30));
  EXPECT_EQ(frame->host()->mask().boundingRect(), QRect(0, 0, 1201, 801));
}

TEST_F(SkinInputTest, HoverFollowsTheCursorAndRepaintsOnlyOnChange) {
  Mouse(WM_NCMOUSEMOVE, kMinimize);
  EXPECT_EQ(frame->m_nHoverId, 112);
  EXPECT_TRUE(Button(112).IsHovered());
  EXPECT_EQ(log.paints, 1);

  Mouse(WM_NCMOUSEMOVE, On(skin::kMinimizeButtonId, 7, 12));
  Mouse(WM_NCMOUSEMOVE, On(skin::kMinimizeButtonId, 12, 17));
  EXPECT_EQ(log.paints, 1) << "moves within one button repaint nothing";

  Mouse(WM_NCLBUTTONDOWN, On(skin::kMinimizeButtonId, 12, 17));
  EXPECT_TRUE(Button(112).IsPressed());
  Mouse(WM_NCMOUSEMOVE, kMaximize);
  EXPECT_EQ(frame->m_nHoverId, 111);
  EXPECT_FALSE(Button(112).IsHovered());
  EXPECT_FALSE(Button(112).IsPressed());
  EXPECT_TRUE(Button(111).IsHovered());

  const int paints = log.paints;
  Mouse(WM_NCMOUSEMOVE, kCaption);
  EXPECT_EQ(frame->m_nHoverId, -1);
  EXPECT_FALSE(Button(111).IsHovered());
  EXPECT_EQ(log.paints, paints + 1);
  Mouse(WM_NCMOUSEMOVE, CPoint(kCaption.x + 10, kCaption.y));
  EXPECT_EQ(log.paints, paints + 1) << "moves outside every button repaint nothing";

  Mouse(WM_NCMOUSEMOVE, kClose);
  frame->SendMessage(WM_NCMOUSELEAVE);
  EXPECT_EQ(frame->m_nHoverId, -1);
  EXPECT_FALSE(Button(110).IsHovered());
}

TEST_F(SkinInputTest, DisabledButtonKeepsItsFlags) {
  frame->m_buttons[112].SetDisabled(true);
  Mouse(WM_NCMOUSEMOVE, kMinimize);
  Mouse(WM_NCLBUTTONDOWN, kMinimize);
  EXPECT_EQ(frame->m_nHoverId, 112);
  EXPECT_FALSE(Button(112).IsHovered());
  EXPECT_FALSE(Button(112).IsPressed());
}

TEST_F(SkinInputTest, AboutClickPostsItsCommandExactlyOnce) {
  Mouse(WM_NCMOUSEMOVE, kAbout);
  Mouse(WM_NCLBUTTONDOWN, kAbout);
  Mouse(WM_NCLBUTTONUP, On(skin::kAboutButtonId, 4, 8));
  EXPECT_TRUE(log.commands.empty()) << "the command is posted, not sent";
  DeliverPostedMessages();
  EXPECT_EQ(log.commands, std::vector<WPARAM>{10});
  EXPECT_FALSE(Button(10).IsPressed());
  DeliverPostedMessages();
  EXPECT_EQ(log.commands.size(), 1u);
}

TEST_F(SkinInputTest, AboutPressMovedOffAndReleasedElsewherePostsNothing) {
  Mouse(WM_NCMOUSEMOVE, kAbout);
  Mouse(WM_NCLBUTTONDOWN, kAbout);
  Mouse(WM_NCMOUSEMOVE, kCaption);
  EXPECT_FALSE(Button(10).IsPressed());
  Mouse(WM_NCLBUTTONUP, kCaption);
  DeliverPostedMessages();
  EXPECT_TRUE(log.commands.empty());
  EXPECT_TRUE(log.sysCommands.empty());
}

TEST_F(SkinInputTest, AboutPressReleasedOnCloseClosesWithoutTheAboutCommand) {
  Mouse(WM_NCMOUSEMOVE, kAbout);
  Mouse(WM_NCLBUTTONDOWN, kAbout);
  Mouse(WM_NCMOUSEMOVE, kClose);
  Mouse(WM_NCLBUTTONUP, kClose);
  EXPECT_TRUE(log.destroyed);
  EXPECT_EQ(log.sysCommands, (std::vector<UINT>{SC_RESTORE, SC_CLOSE}));
  DeliverPostedMessages();
  EXPECT_TRUE(log.commands.empty());
}

TEST_F(SkinInputTest, WindowButtonsSendTheirSystemCommands) {
  Mouse(WM_NCLBUTTONUP, kMaximize);
  EXPECT_TRUE(frame->IsZoomed());
  Mouse(WM_NCLBUTTONUP, kMaximize);
  EXPECT_FALSE(frame->IsZoomed());
  Mouse(WM_NCLBUTTONUP, kMinimize);
  EXPECT_EQ(log.sysCommands, (std::vector<UINT>{SC_MAXIMIZE, SC_RESTORE, SC_MINIMIZE}));
}

TEST_F(SkinInputTest, AssistiveTechnologiesGetEveryButtonNamedByTheWindowsStateWhereItIsPainted) {
  frame->m_buttons[skin::kAboutButtonId].SetDisabled(true);
  for (bool maximised : {false, true}) {
    if (maximised) frame->ShowWindow(SW_MAXIMIZE);
    const int width = maximised ? frame->host()->width() : kWidth;
    std::vector<std::string> names;
    for (const platform::AccessibleCaptionButton& button : frame->AccessibleCaptionButtons()) {
      names.push_back(button.name.source);
      EXPECT_STREQ(button.name.context, "CaptionButton");
      EXPECT_EQ(CRect(button.rect),
                skin::PlacedButtonRect(*skin::FindCaptionButton(button.id), width));
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
  EXPECT_FALSE(Button(skin::kAboutButtonId).IsPressed());
  frame->m_buttons[skin::kMinimizeButtonId].SetDisabled(true);
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
  Mouse(WM_NCLBUTTONDOWN, kMinimize);
  Mouse(WM_NCLBUTTONUP, kMinimize);
  Mouse(WM_NCLBUTTONDBLCLK, kMinimize);
  EXPECT_TRUE(Button(112).IsPressed());
  Mouse(WM_NCLBUTTONUP, kMinimize);
  EXPECT_EQ(log.sysCommands, (std::vector<UINT>{SC_MINIMIZE, SC_MINIMIZE}));
}

// A hidden window's resize events wait until it is shown, so WM_SIZE can be sent
// for a size the frame has not been told of yet.
TEST_F(SkinInputTest, MinimisedAndMaxShowSizesPlaceTheAboutButtonWithoutRepaint) {
  platform::WindowHost* host = frame->host();
  const QRegion before = host->mask();
  host->resize(1200, 800);
  frame->SendMessage(WM_SIZE, SIZE_MINIMIZED, 0);
  EXPECT_EQ(host->mask(), before) << "a minimised window keeps its region";
  EXPECT_EQ(Button(10).m_rect, CRect(1104, 8, 1124, 30));
  EXPECT_EQ(Button(110).m_rect, CRect(1170, 8, 1190, 30));
  EXPECT_EQ(log.paints, 0);

  frame->SendMessage(WM_SIZE, SIZE_MAXSHOW, 0);
  // The region reaches one past the window's right and bottom edges.
  EXPECT_EQ(host->mask().boundingRect(), QRect(0, 0, 1201, 801));
  EXPECT_EQ(log.paints, 0);
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
