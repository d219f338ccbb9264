#include "platform/qt/window_input.h"

#include <QApplication>
#include <QMouseEvent>
#include <QShortcut>
#include <QWindow>

#include "platform/frame_wnd.h"
#include "platform/qt/device_pixels.h"
#include "platform/qt/key_translation.h"
#include "platform/qt/window_host.h"
#include "platform/wnd.h"

namespace platform {
namespace {

LPARAM ScreenPointParam(const QPoint& p) { return MAKELPARAM(p.x(), p.y()); }

Qt::CursorShape CursorFor(LRESULT hitTest) {
  switch (hitTest) {
    case HTLEFT:
    case HTRIGHT:
      return Qt::SizeHorCursor;
    case HTTOP:
    case HTBOTTOM:
      return Qt::SizeVerCursor;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT:
      return Qt::SizeFDiagCursor;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
      return Qt::SizeBDiagCursor;
    default:
      return Qt::ArrowCursor;
  }
}

}  // namespace

WindowInput::WindowInput(WindowHost& window) : m_window(window) {}

LRESULT WindowInput::send(UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* owner = m_window.owner();
  return owner ? owner->SendMessage(message, wParam, lParam) : 0;
}

void WindowInput::addSystemMenuKey() {
  auto* keyMenu = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), &m_window);
  QObject::connect(keyMenu, &QShortcut::activated, &m_window,
                   [this] { send(WM_SYSCOMMAND, SC_KEYMENU, kSystemMenuKey); });
}

QPoint WindowInput::screenPixelOf(const QMouseEvent& event) const {
  // Whole logical pixels from the pointer's device pixel, so that a pointer on a
  // painted button hit-tests to that button at any scale. Widgets get positions
  // rounded to logical pixels; the window's own event still has the fraction.
  const QPointF position =
      m_windowPointer.toPoint() == event.position().toPoint() ? m_windowPointer : event.position();
  return m_window.mapToGlobal(QPoint(0, 0)) +
         LogicalPixelAt(position, m_window.devicePixelRatioF());
}

LRESULT WindowInput::hitTest(const QPoint& globalPos) {
  return send(WM_NCHITTEST, 0, ScreenPointParam(globalPos));
}

void WindowInput::sendNonClientMouse(UINT message, const QPoint& globalPos) {
  const LRESULT ht = hitTest(globalPos);
  if (ht == HTCLIENT || ht == HTNOWHERE) return;
  send(message, static_cast<WPARAM>(ht), ScreenPointParam(globalPos));
}

void WindowInput::pointerLeftNonClient() {
  if (!m_trackingLeave) return;
  m_trackingLeave = false;
  send(WM_NCMOUSELEAVE);
}

void WindowInput::beginCaptionMove(const QPoint& globalPos) {
  if (m_window.isMaximized() || m_window.isMinimized() || m_window.isFullScreen()) return;
  m_captionDrag.press(globalPos, m_window.pos());
}

void WindowInput::cancelCaptionMove() { m_captionDrag.release(); }

void WindowInput::beginSystemResize(LRESULT hitTest) {
  Qt::Edges edges;
  if (hitTest == HTLEFT || hitTest == HTTOPLEFT || hitTest == HTBOTTOMLEFT) edges |= Qt::LeftEdge;
  if (hitTest == HTRIGHT || hitTest == HTTOPRIGHT || hitTest == HTBOTTOMRIGHT)
    edges |= Qt::RightEdge;
  if (hitTest == HTTOP || hitTest == HTTOPLEFT || hitTest == HTTOPRIGHT) edges |= Qt::TopEdge;
  if (hitTest == HTBOTTOM || hitTest == HTBOTTOMLEFT || hitTest == HTBOTTOMRIGHT)
    edges |= Qt::BottomEdge;
  if (edges && m_window.windowHandle()) m_window.windowHandle()->startSystemResize(edges);
}

bool WindowInput::followCaptionDrag(const QMouseEvent& event) {
  if (!m_captionDrag.pressed() || !(event.buttons() & Qt::LeftButton)) return false;
  // The pointer's screen position as the event has it: the window moves under the
  // pointer, so its own position says nothing about where this event happened.
  const QPoint pointer = LogicalPixelAt(event.globalPosition(), m_window.devicePixelRatioF());
  if (!m_captionDrag.follow(pointer, QApplication::startDragDistance())) return true;
  // Under X11 the shell places its window itself: a move handed to the window
  // manager starts from wherever the pointer is when the manager gets to grab it,
  // and the motion and release before that grab are lost to it. Under Wayland only
  // the compositor may place windows, and it owns the pointer, so it loses nothing.
  if (!OnWayland()) {
    m_window.move(m_captionDrag.windowPositionFor(pointer));
  } else {
    m_captionDrag.release();
    if (m_window.windowHandle()) m_window.windowHandle()->startSystemMove();
  }
  return true;
}

void WindowInput::mouseMove(const QMouseEvent& event) {
  if (followCaptionDrag(event)) return;
  const QPoint global = screenPixelOf(event);
  const LRESULT ht = hitTest(global);
  m_window.setCursor(CursorFor(ht));
  if (ht == HTCLIENT || ht == HTNOWHERE) {
    pointerLeftNonClient();
    return;
  }
  send(WM_NCMOUSEMOVE, static_cast<WPARAM>(ht), ScreenPointParam(global));
}

void WindowInput::mousePress(const QMouseEvent& event) {
  const QPoint global = screenPixelOf(event);
  if (event.button() == Qt::LeftButton) {
    sendNonClientMouse(WM_NCLBUTTONDOWN, global);
  } else if (event.button() == Qt::RightButton) {
    sendNonClientMouse(WM_NCRBUTTONDOWN, global);
  }
}

void WindowInput::mouseRelease(const QMouseEvent& event) {
  const QPoint global = screenPixelOf(event);
  if (event.button() == Qt::LeftButton) {
    m_captionDrag.release();
    sendNonClientMouse(WM_NCLBUTTONUP, global);
  } else if (event.button() == Qt::RightButton) {
    sendNonClientMouse(WM_NCRBUTTONUP, global);
  }
}

void WindowInput::mouseDoubleClick(const QMouseEvent& event) {
  if (event.button() == Qt::LeftButton)
    sendNonClientMouse(WM_NCLBUTTONDBLCLK, screenPixelOf(event));
}

bool WindowInput::keyPress(const QKeyEvent& event) {
  // Keys the browser did not take arrive here as well; accelerators are only for
  // keys pressed while one of the application's own windows has the focus.
  auto* frame = dynamic_cast<CFrameWnd*>(m_window.owner());
  QWidget* focus = QApplication::focusWidget();
  const bool ownFocus = !focus || dynamic_cast<WindowHost*>(focus);
  if (!frame || !ownFocus) return false;
  const UINT command = AcceleratorCommand(*frame, event);
  if (!command) return false;
  frame->SendMessage(WM_COMMAND, command, 0);
  return true;
}

void WindowInput::nativeWindowEvent(QEvent& event) {
  if (auto* mouse = dynamic_cast<QMouseEvent*>(&event)) m_windowPointer = mouse->position();
}

}  // namespace platform
