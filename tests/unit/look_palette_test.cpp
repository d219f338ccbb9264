#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QMenu>
#include <QTimer>
#include <QToolTip>

#include <functional>

#include "look_test_support.h"
#include "platform/menu.h"
#include "platform/qt/look.h"
#include "platform/unreached/dialog.h"
#include "res/resource.h"

namespace {

QRgb Rgb(LookColor colour) { return platform::ColorOf(colour).rgb(); }

// Runs inspect on the pop-up or modal window that the next blocking call opens,
// then closes it.
void InspectNextWindow(std::function<QWidget*()> find, std::function<void(QWidget&)> inspect) {
  QTimer::singleShot(0, [find, inspect] {
    QWidget* window = find();
    if (!window) {
      ADD_FAILURE() << "no window came up";
      return;
    }
    inspect(*window);
    window->close();
  });
}

// What the application shows when a manager is current: its own pop-up menus and
// dialogs, drawn by Qt offscreen and read pixel by pixel.
class LookPaletteTest : public ::testing::TestWithParam<const CRuntimeClass*> {
 protected:
  void SetUp() override {
    look_test::TakePendingQuit();
    look_test::ResetLookState();
    CMFCVisualManagerOffice2007::SetStyle(CMFCVisualManagerOffice2007::Office2007_ObsidianBlack);
    CMFCVisualManager::SetDefaultManager(GetParam());
    m_colours = CMFCVisualManager::GetInstance()->GetLookColors();
  }
  void TearDown() override { look_test::ResetLookState(); }

  LookColors m_colours{};
};

TEST_P(LookPaletteTest, PopupMenusShowTheManagersColours) {
  CMenu menu;
  menu.AppendMenu(MF_STRING, 1, L"&First");
  menu.AppendMenu(MF_SEPARATOR);
  menu.AppendMenu(MF_GRAYED, 2, L"Second");
  QImage shot;
  InspectNextWindow([] { return QApplication::activePopupWidget(); },
                    [&shot](QWidget& popup) { shot = popup.grab().toImage(); });
  EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 100, 100, nullptr), 0);
  ASSERT_FALSE(shot.isNull());
  EXPECT_EQ(shot.pixel(0, 0), Rgb(m_colours.menuBorder));
  EXPECT_EQ(shot.pixel(1, shot.height() / 2), Rgb(m_colours.menuBack));
}

TEST_P(LookPaletteTest, DialogsShowTheManagersColours) {
  CDialog dialog(IDD_ABOUTBOX);
  QImage shot;
  InspectNextWindow([] { return QApplication::activeModalWidget(); },
                    [&shot](QWidget& window) { shot = window.grab().toImage(); });
  dialog.DoModal();
  ASSERT_FALSE(shot.isNull());
  EXPECT_EQ(shot.pixel(2, shot.height() - 2), Rgb(m_colours.dialogBack));
}

TEST_P(LookPaletteTest, TooltipsTakeTheManagersColours) {
  EXPECT_EQ(QToolTip::palette().color(QPalette::ToolTipBase).rgb(), Rgb(m_colours.toolTipBack));
  EXPECT_EQ(QToolTip::palette().color(QPalette::ToolTipText).rgb(), Rgb(m_colours.toolTipText));
}

INSTANTIATE_TEST_SUITE_P(Managers, LookPaletteTest,
                         ::testing::Values(RUNTIME_CLASS(CMFCVisualManager),
                                           RUNTIME_CLASS(CMFCVisualManagerOffice2007)));

TEST(LookManagerTest, OnlyVisualManagerClassesAndKnownSettingsAreTaken) {
  look_test::ResetLookState();
  CMFCVisualManager::SetDefaultManager(RUNTIME_CLASS(CMFCVisualManagerOfficeXP));
  CMFCVisualManager::SetDefaultManager(RUNTIME_CLASS(CWnd));
  EXPECT_EQ(CMFCVisualManager::GetInstance()->GetRuntimeClass(),
            RUNTIME_CLASS(CMFCVisualManagerOfficeXP));
  CMFCVisualManager::SetDefaultManager(nullptr);
  EXPECT_EQ(CMFCVisualManager::GetInstance()->GetRuntimeClass(), RUNTIME_CLASS(CMFCVisualManager));

  EXPECT_FALSE(
      CMFCVisualManagerOffice2007::SetStyle(static_cast<CMFCVisualManagerOffice2007::Style>(7)));
  EXPECT_EQ(CMFCVisualManagerOffice2007::GetStyle(),
            CMFCVisualManagerOffice2007::Office2007_LunaBlue);

  CDockingManager::SetDockingMode(static_cast<AFX_DOCK_TYPE>(0x40));
  EXPECT_EQ(CDockingManager::GetDockingMode(), DT_STANDARD);
  look_test::ResetLookState();
}

}  // namespace
