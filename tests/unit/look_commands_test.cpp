#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>

#include <optional>
#include <set>

#include "look_test_support.h"
#include "res/resource.h"

namespace {

using Style = CMFCVisualManagerOffice2007::Style;

// What the frame's and a child window's paintings saw.
struct PaintLog {
  int framePaints = 0;
  int childPaints = 0;
  bool waitCursorAtEveryPaint = true;

  void Record(int& paints) {
    ++paints;
    const QCursor* cursor = QGuiApplication::overrideCursor();
    waitCursorAtEveryPaint &= cursor && cursor->shape() == Qt::WaitCursor;
  }
};

class PaintLoggingFrame : public CMainFrame {
 public:
  explicit PaintLoggingFrame(PaintLog* log) : m_log(log) {}
  void OnNcPaint() override {
    m_log->Record(m_log->framePaints);
    CMainFrame::OnNcPaint();
  }

 private:
  PaintLog* m_log;
};

class PaintLoggingChild : public CWnd {
 public:
  explicit PaintLoggingChild(PaintLog* log) : m_log(log) {}

 protected:
  void OnNcPaint() override { m_log->Record(m_log->childPaints); }

 private:
  PaintLog* m_log;
};

// A shown main frame with one child window, under an application object whose
// settings live in a folder of the test's own.
class LookCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeRuntime::Get().Reset();
    look_test::ResetLookState();
    m_app = look_test::StartApp();
  }
  void TearDown() override {
    DestroyFrame();
    g_handler = nullptr;
    look_test::ResetLookState();
  }

  CMainFrame* CreateFrame() {
    m_frame = new PaintLoggingFrame(&m_paints);
    EXPECT_TRUE(m_frame->CreateEx(0, nullptr, L"lumerock", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600,
                                  nullptr, 0));
    m_frame->MoveWindow(0, 0, 800, 600);
    m_child = std::make_unique<PaintLoggingChild>(&m_paints);
    EXPECT_TRUE(m_child->Create(nullptr, nullptr, WS_VISIBLE, CRect(10, 10, 200, 100), m_frame, 1));
    m_frame->ShowWindow(SW_SHOW);
    QApplication::processEvents();  // the window system exposes the shown window
    return m_frame;
  }
  void DestroyFrame() {
    if (m_child) m_child->DestroyWindow();
    m_child.reset();
    if (m_frame) m_frame->DestroyWindow();  // deletes the frame
    m_frame = nullptr;
  }

  // Whether the update of command id marks it as the selected radio item.
  bool RadioMarked(UINT id) {
    CCmdUI ui;
    ui.m_nID = id;
    EXPECT_TRUE(m_frame->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui)) << id;
    return ui.m_bRadio;
  }

  look_test::ConfigFolder m_config;
  std::unique_ptr<CVintrelApp> m_app;
  PaintLog m_paints;
  CMainFrame* m_frame = nullptr;
  std::unique_ptr<PaintLoggingChild> m_child;
};

struct LookCase {
  UINT id;
  const CRuntimeClass* manager;
  std::optional<Style> style;
  bool smartDocking;
};

const LookCase kLookCases[] = {
    {210, RUNTIME_CLASS(CMFCVisualManager), std::nullopt, false},
    {211, RUNTIME_CLASS(CMFCVisualManagerOfficeXP), std::nullopt, false},
    {212, RUNTIME_CLASS(CMFCVisualManagerWindows), std::nullopt, false},
    {213, RUNTIME_CLASS(CMFCVisualManagerOffice2003), std::nullopt, true},
    {214, RUNTIME_CLASS(CMFCVisualManagerVS2005), std::nullopt, true},
    {215, RUNTIME_CLASS(CMFCVisualManagerOffice2007),
     CMFCVisualManagerOffice2007::Office2007_LunaBlue, true},
    {216, RUNTIME_CLASS(CMFCVisualManagerOffice2007),
     CMFCVisualManagerOffice2007::Office2007_ObsidianBlack, true},
    {217, RUNTIME_CLASS(CMFCVisualManagerOffice2007),
     CMFCVisualManagerOffice2007::Office2007_Silver, true},
    {218, RUNTIME_CLASS(CMFCVisualManagerOffice2007), CMFCVisualManagerOffice2007::Office2007_Aqua,
     true},
};

TEST_F(LookCommandTest, EachLookCommandSwitchesTheManagerAndIsRememberedAndMarked) {
  CMainFrame* frame = CreateFrame();
  std::set<LookColor> menuColours;
  std::set<LookColor> dialogColours;
  for (const LookCase& look : kLookCases) {
    SCOPED_TRACE(look.id);
    CDockingManager::SetDockingMode(DT_STANDARD);
    // Some other style than the one expected, so that the command must pass its own.
    CMFCVisualManagerOffice2007::SetStyle(
        static_cast<Style>((look.style.value_or(Style{}) + 1) % 4));

    EXPECT_EQ(frame->SendMessage(WM_COMMAND, look.id), 1);

    CMFCVisualManager* manager = CMFCVisualManager::GetInstance();
    EXPECT_EQ(manager->GetRuntimeClass(), look.manager);
    if (look.style) {
      auto* office2007 = dynamic_cast<CMFCVisualManagerOffice2007*>(manager);
      ASSERT_NE(office2007, nullptr);
      EXPECT_EQ(office2007->GetManagerStyle(), *look.style);
    }
    EXPECT_EQ(CDockingManager::GetDockingMode(), look.smartDocking ? DT_SMART : DT_STANDARD);
    EXPECT_EQ(CDockingManager::GetSmartDockingTheme(), AFX_SDT_DEFAULT);
    EXPECT_EQ(m_app->m_nApplicationLook, static_cast<int>(look.id));
    EXPECT_EQ(m_app->GetInt(L"ApplicationLook", 0), static_cast<int>(look.id));
    for (UINT other = 210; other <= 218; ++other) EXPECT_EQ(RadioMarked(other), other == look.id);

    menuColours.insert(manager->GetLookColors().menuBack);
    dialogColours.insert(manager->GetLookColors().dialogBack);
  }
  EXPECT_EQ(menuColours.size(), std::size(kLookCases)) << "every look has menus of its own";
  EXPECT_EQ(dialogColours.size(), std::size(kLookCases)) << "every look has dialogs of its own";
}

TEST_F(LookCommandTest, WindowsXpLookTurnsOnThreeDTabsBeforeItsManagerIsMade) {
  CMainFrame* frame = CreateFrame();
  frame->SendMessage(WM_COMMAND, ID_VIEW_APPLOOK_WIN_XP);
  auto* manager = dynamic_cast<CMFCVisualManagerWindows*>(CMFCVisualManager::GetInstance());
  ASSERT_NE(manager, nullptr);
  EXPECT_TRUE(CMFCVisualManagerWindows::m_b3DTabsXPTheme);
  EXPECT_TRUE(manager->Is3DTabsXPTheme());
}

TEST_F(LookCommandTest, LookCommandRedrawsFrameAndChildrenAtOnceUnderTheWaitCursor) {
  CMainFrame* frame = CreateFrame();
  m_paints = PaintLog();
  frame->SendMessage(WM_COMMAND, ID_VIEW_APPLOOK_OFF_2007_BLACK);
  EXPECT_GE(m_paints.framePaints, 1) << "the frame's non-client area";
  EXPECT_GE(m_paints.childPaints, 1) << "the child window's non-client area";
  EXPECT_TRUE(m_paints.waitCursorAtEveryPaint);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the wait cursor ends with the command";
}

TEST_F(LookCommandTest, NewFrameHoldsTheDefaultLookButAppliesNothing) {
  m_app->m_nApplicationLook = 0;
  CMainFrame* frame = CreateFrame();
  EXPECT_EQ(m_app->m_nApplicationLook, ID_VIEW_APPLOOK_VS_2005);
  EXPECT_TRUE(RadioMarked(ID_VIEW_APPLOOK_VS_2005));
  EXPECT_EQ(CMFCVisualManager::GetInstance()->GetRuntimeClass(), RUNTIME_CLASS(CMFCVisualManager));
  EXPECT_EQ(CDockingManager::GetDockingMode(), DT_STANDARD);
  EXPECT_EQ(m_app->GetInt(L"ApplicationLook", -1), -1) << "nothing written at start";

  frame->SendMessage(WM_COMMAND, ID_VIEW_APPLOOK_VS_2005);
  EXPECT_EQ(CMFCVisualManager::GetInstance()->GetRuntimeClass(),
            RUNTIME_CLASS(CMFCVisualManagerVS2005));
}

TEST_F(LookCommandTest, ChosenLookIsReadBackByTheNextApplicationObject) {
  CreateFrame()->SendMessage(WM_COMMAND, ID_VIEW_APPLOOK_OFF_2007_SILVER);
  DestroyFrame();
  m_app.reset();
  look_test::ResetLookState();

  m_app = look_test::StartApp();
  CreateFrame();
  EXPECT_EQ(m_app->m_nApplicationLook, ID_VIEW_APPLOOK_OFF_2007_SILVER);
  EXPECT_TRUE(RadioMarked(ID_VIEW_APPLOOK_OFF_2007_SILVER));
  EXPECT_EQ(CMFCVisualManager::GetInstance()->GetRuntimeClass(), RUNTIME_CLASS(CMFCVisualManager))
      << "the stored look waits for a look command";
}

TEST_F(LookCommandTest, OtherCommandsAndUpdatesAreNotTakenAsLooks) {
  CMainFrame* frame = CreateFrame();
  CCmdUI ui;
  ui.m_nID = 219;
  EXPECT_FALSE(frame->OnCmdMsg(219, CN_UPDATE_COMMAND_UI, &ui));
  EXPECT_FALSE(frame->OnCmdMsg(209, CN_COMMAND, nullptr));
  EXPECT_FALSE(frame->OnCmdMsg(ID_VIEW_APPLOOK_OFF_XP, CN_UPDATE_COMMAND_UI, nullptr));
  EXPECT_EQ(m_app->m_nApplicationLook, ID_VIEW_APPLOOK_VS_2005);
  EXPECT_EQ(CMFCVisualManager::GetInstance()->GetRuntimeClass(), RUNTIME_CLASS(CMFCVisualManager));
}

TEST_F(LookCommandTest, LookCommandWithoutAnApplicationObjectStillSwitchesTheManager) {
  m_app.reset();
  CMainFrame* frame = CreateFrame();
  frame->SendMessage(WM_COMMAND, ID_VIEW_APPLOOK_OFF_2003);
  EXPECT_EQ(CMFCVisualManager::GetInstance()->GetRuntimeClass(),
            RUNTIME_CLASS(CMFCVisualManagerOffice2003));
}

}  // namespace
