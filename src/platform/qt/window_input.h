#pragma once

#include <QPoint>
#include <QPointF>

#include "platform/qt/caption_drag.h"
#include "platform/win_types.h"

class QEvent;
class QKeyEvent;
class QMouseEvent;

namespace platform {

class WindowHost;

// SC_KEYMENU carries the key pressed with Alt; this one opens the system menu.
constexpr LPARAM kSystemMenuKey = ' ';

// A window's input: Qt's pointer and key events become window messages for the
// window's owner (a point over the non-client area becomes WM_NC* in screen
// coordinates, leaving it WM_NCMOUSELEAVE), the cursor follows the hit-test, keys
// reach the frame's accelerators, Alt+Space opens the system menu, and the window
// system's side of a caption drag or a border press happens here.
class WindowInput {
 public:
  explicit WindowInput(WindowHost& window);
  WindowInput(const WindowInput&) = delete;
  WindowInput& operator=(const WindowInput&) = delete;

  // Alt+Space, wherever the focus is in a top-level window, the browser included.
  void addSystemMenuKey();

  void mouseMove(const QMouseEvent& event);
  void mousePress(const QMouseEvent& event);
  void mouseRelease(const QMouseEvent& event);
  void mouseDoubleClick(const QMouseEvent& event);
  // The pointer left the window, or went into its client area.
  void pointerLeftNonClient();
  // True when the key was a command of the frame's accelerator table.
  bool keyPress(const QKeyEvent& event);
  // Every event of the window's native window: a mouse event's unrounded position.
  void nativeWindowEvent(QEvent& event);

  // One WM_NCMOUSELEAVE once the pointer leaves the non-client area.
  void trackNonClientLeave() { m_trackingLeave = true; }
  // Default processing of a press on the caption: the window follows the pointer
  // once it has moved a little with the button held.
  void beginCaptionMove(const QPoint& globalPos);
  void cancelCaptionMove();
  // Default processing of a press on a border: the window system resizes.
  void beginSystemResize(LRESULT hitTest);

 private:
  LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  // The screen position, in logical pixels, of the pixel a mouse event is on.
  QPoint screenPixelOf(const QMouseEvent& event) const;
  LRESULT hitTest(const QPoint& globalPos);
  void sendNonClientMouse(UINT message, const QPoint& globalPos);
  // Moves the window with a caption drag; false when the event is no part of one.
  bool followCaptionDrag(const QMouseEvent& event);

  WindowHost& m_window;
  bool m_trackingLeave = false;
  // A caption press waits for the pointer to move before the window moves, so
  // that a double-click on the caption still arrives.
  CaptionDrag m_captionDrag;
  // The pointer in window coordinates as the window's last mouse event had it,
  // before widgets round it to logical pixels.
  QPointF m_windowPointer{-1, -1};
};

}  // namespace platform
