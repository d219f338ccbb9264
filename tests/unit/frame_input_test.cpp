#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>

#include <vector>

#include "platform/command_ids.h"
#include "platform/frame_hit_test.h"
#include "platform/frame_wnd.h"
#include "platform/qt/window_host.h"
#include "res/resource.h"

namespace {

TEST(DefaultFrameHitTestTest, BordersCornersCaptionAndClient) {
  const SIZE window{1000, 700};
  const RECT client{3, 38, 997, 697};
  const struct {
    POINT p;
    bool resizable;
    LRESULT code;
  } cases[] = {
      {{500, 300}, true, HTCLIENT},
      {{500, 20}, true, HTCAPTION},
      {{500, 2}, true, HTTOP},
      {{0, 300}, true, HTLEFT},
      {{999, 300}, true, HTRIGHT},
      {{500, 699}, true, HTBOTTOM},
      {{1, 1}, true, HTTOPLEFT},
      {{15, 2}, true, HTTOPLEFT},  // corner zone along the top
      {{1, 15}, true, HTTOPLEFT},
      {{1, 16}, true, HTLEFT},  // and down the side
      {{998, 1}, true, HTTOPRIGHT},
      {{1, 698}, true, HTBOTTOMLEFT},
      {{985, 698}, true, HTBOTTOMRIGHT},
      {{998, 690}, true, HTBOTTOMRIGHT},
      {{500, 2}, false, HTCAPTION},
      {{0, 300}, false, HTNOWHERE},  // maximised: no resizing
      {{-1, 300}, true, HTNOWHERE},
      {{1000, 300}, true, HTNOWHERE},
      // The 4-pixel zone: whole across the caption, only the 3-pixel border beside the client.
      {{500, 3}, true, HTTOP},
      {{500, 4}, true, HTCAPTION},
      {{3, 20}, true, HTLEFT},
      {{3, 300}, true, HTCLIENT},
      {{996, 20}, true, HTRIGHT},
      {{996, 300}, true, HTCLIENT},
  };
  const platform::ResizeZones zones;
  for (const auto& c : cases) {
    EXPECT_EQ(platform::DefaultFrameHitTest(window, client, c.p, c.resizable ? &zones : nullptr),
              c.code)
        << c.p.x << "," << c.p.y << (c.resizable ? "" : " maximised");
  }
}

class CommandRecordingFrame : public CFrameWnd {
 public:
  std::vector<UINT> commands;

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM) override {
    commands.push_back(LOWORD(wParam));
    return TRUE;
  }
};

TEST(AcceleratorTest, KeysOfTheFramesTableReachTheFrameAsCommands) {
  auto* frame = new CommandRecordingFrame;
  ASSERT_TRUE(frame->LoadFrame(IDR_MAINFRAME));
  const struct {
    int key;
    Qt::KeyboardModifiers modifiers;
  } presses[] = {
      {Qt::Key_P, Qt::ControlModifier},     {Qt::Key_S, Qt::ControlModifier},
      {Qt::Key_Insert, Qt::ShiftModifier},  {Qt::Key_F6, Qt::ShiftModifier},
      {Qt::Key_Backspace, Qt::AltModifier}, {Qt::Key_P, Qt::NoModifier},  // not in the table
      {Qt::Key_Q, Qt::ControlModifier},                                   // nor this
  };
  for (const auto& press : presses) {
    QKeyEvent event(QEvent::KeyPress, press.key, press.modifiers);
    QApplication::sendEvent(frame->host(), &event);
  }
  EXPECT_EQ(frame->commands, (std::vector<UINT>{ID_FILE_PRINT, ID_FILE_SAVE, ID_EDIT_PASTE,
                                                ID_PREV_PANE, ID_EDIT_UNDO}));
  frame->DestroyWindow();
}

}  // namespace
