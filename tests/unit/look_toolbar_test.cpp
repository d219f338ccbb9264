#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>

#include <string>

#include "look_test_support.h"
#include "platform/qt/window_host.h"
#include "platform/toolbar.h"
#include "res/resource.h"

namespace {

constexpr int kUserToolbarSlots = 10;

// Main frames loaded the way the document template loads them, under an
// application object whose settings live in a folder of the test's own.
class LookToolbarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeRuntime::Get().Reset();
    m_app = look_test::StartApp();
  }
  void TearDown() override {
    DestroyFrame();
    g_handler = nullptr;
  }

  CMainFrame* LoadFrame() {
    m_frame = new CMainFrame;
    EXPECT_TRUE(m_frame->LoadFrame(IDR_MAINFRAME));
    return m_frame;
  }
  void DestroyFrame() {
    if (m_frame) m_frame->DestroyWindow();
    m_frame = nullptr;
  }

  CMFCToolBar* CreateToolbar(const std::wstring& name) {
    return reinterpret_cast<CMFCToolBar*>(
        m_frame->SendMessage(AFX_WM_CREATETOOLBAR, 0, reinterpret_cast<LPARAM>(name.c_str())));
  }

  static void ExpectCustomizeButton(const CMFCToolBar& toolbar) {
    const CMFCCustomizeButton* button = toolbar.GetCustomizeButton();
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->m_iCustomizeCmdId, UINT{ID_VIEW_CUSTOMIZE});
    EXPECT_EQ(button->m_strText, CString(L"Customize..."));
    EXPECT_TRUE(button->m_bQuickCustomize);
  }

  QDialog* CustomizeDialogOf(CMainFrame* frame) {
    return frame->host()->findChild<QDialog*>(QString(), Qt::FindDirectChildrenOnly);
  }

  look_test::ConfigFolder m_config;
  std::unique_ptr<CVintrelApp> m_app;
  CMainFrame* m_frame = nullptr;
};

TEST_F(LookToolbarTest, WithoutUserToolbarsLoadFrameHasNoneToEnable) {
  CMainFrame* frame = LoadFrame();
  for (int i = 0; i < kUserToolbarSlots; ++i) EXPECT_EQ(frame->GetUserToolBarByIndex(i), nullptr);
}

TEST_F(LookToolbarTest, NewUserToolbarGetsTheCustomizeButtonAndComesBackWithTheNextFrame) {
  LoadFrame();
  CMFCToolBar* toolbar = CreateToolbar(L"Mine");
  ASSERT_NE(toolbar, nullptr);
  EXPECT_EQ(m_frame->GetUserToolBarByIndex(0), toolbar);
  EXPECT_EQ(toolbar->GetWindowText(), CString(L"Mine"));
  ExpectCustomizeButton(*toolbar);

  DestroyFrame();
  CMainFrame* next = LoadFrame();
  CMFCToolBar* restored = next->GetUserToolBarByIndex(0);
  ASSERT_NE(restored, nullptr) << "the user toolbar of the last frame";
  EXPECT_EQ(restored->GetWindowText(), CString(L"Mine"));
  ExpectCustomizeButton(*restored);
  EXPECT_EQ(next->GetUserToolBarByIndex(1), nullptr);
}

TEST_F(LookToolbarTest, ToolbarCreationWithoutANameOrPastTheTenthReturnsZero) {
  LoadFrame();
  EXPECT_EQ(m_frame->SendMessage(AFX_WM_CREATETOOLBAR, 0, 0), 0);
  EXPECT_EQ(CreateToolbar(L""), nullptr);
  for (int i = 0; i < kUserToolbarSlots; ++i) {
    ASSERT_NE(CreateToolbar(L"Toolbar " + std::to_wstring(i)), nullptr) << i;
  }
  EXPECT_EQ(CreateToolbar(L"One too many"), nullptr);
  EXPECT_EQ(m_frame->GetUserToolBarByIndex(kUserToolbarSlots), nullptr);
}

TEST_F(LookToolbarTest, CustomizeCommandShowsAModelessDialogThatMakesToolbarsAndGoesWhenClosed) {
  CMainFrame* frame = LoadFrame();
  frame->ShowWindow(SW_SHOW);
  EXPECT_EQ(frame->SendMessage(WM_COMMAND, ID_VIEW_CUSTOMIZE), 1);

  QPointer<QDialog> dialog = CustomizeDialogOf(frame);
  ASSERT_TRUE(dialog);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_FALSE(dialog->isModal());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  auto* commands = dialog->findChild<QListWidget*>("commands");
  ASSERT_NE(commands, nullptr) << "menu scanning is on";
  EXPECT_FALSE(commands->findItems("Print Preview", Qt::MatchExactly).isEmpty());

  // User-defined toolbars are on: a name and New make one in the frame.
  auto* name = dialog->findChild<QLineEdit*>("toolbarName");
  auto* create = dialog->findChild<QPushButton*>("newToolbar");
  ASSERT_NE(name, nullptr);
  ASSERT_NE(create, nullptr);
  name->setText("  Tools  ");
  create->click();
  CMFCToolBar* toolbar = frame->GetUserToolBarByIndex(0);
  ASSERT_NE(toolbar, nullptr);
  EXPECT_EQ(toolbar->GetWindowText(), CString(L"Tools"));
  ExpectCustomizeButton(*toolbar);
  auto* toolbars = dialog->findChild<QListWidget*>("toolbars");
  ASSERT_NE(toolbars, nullptr);
  ASSERT_EQ(toolbars->count(), 1);
  EXPECT_EQ(toolbars->item(0)->text(), "Tools");

  dialog->close();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(dialog) << "the dialog deletes itself when closed";
}

TEST_F(LookToolbarTest, CustomizeDialogGoesWithItsFrame) {
  CMainFrame* frame = LoadFrame();
  frame->SendMessage(WM_COMMAND, ID_VIEW_CUSTOMIZE);
  QPointer<QDialog> dialog = CustomizeDialogOf(frame);
  ASSERT_TRUE(dialog);
  DestroyFrame();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(dialog);
}

}  // namespace
