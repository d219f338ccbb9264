#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QTimer>
#include <QWidget>
#include <optional>

#include "platform/qt/native_window.h"
#include "platform/qt/window_input.h"
#include "platform/qt/window_placement.h"
#include "platform/qt/window_surface.h"
#include "platform/win_types.h"

class QWindowStateChangeEvent;

class CWnd;

namespace platform {

// Wayland lets a client neither place its windows nor shape them, so some of the
// window's behaviour differs there.
bool OnWayland();

// The Qt widget behind a CWnd: its geometry, state and paint events become window
// messages for its owner (input goes through WindowInput, the non-client pixels
// through WindowSurface), and it carries out the window system's side of default
// processing. The
// owner's children live in clientArea(), inset by the non-client area that
// WM_NCCALCSIZE returns; what the owner draws through its window device context
// lands in surface() and is shown over the non-client area.
class WindowHost : public QWidget {
  Q_OBJECT

 public:
  WindowHost(CWnd* owner, const CREATESTRUCT& cs, QWidget* parent);
  ~WindowHost() override;

  // The host behind a handle, or null when the handle is some other widget.
  static WindowHost* fromHandle(HWND hWnd);

  CWnd* owner() const { return m_owner; }
  void detachOwner() { m_owner = nullptr; }
  QWidget* clientArea() const { return m_clientArea; }
  // The client area in window coordinates.
  QRect clientRect() const;

  // Asks the owner for its client area (WM_NCCALCSIZE), lays the client widget
  // out and reports a changed size (WM_SIZE).
  void recalcNonClient();
  // Where the window goes when it is restored: its last place as a restored window.
  QRect restoredGeometry() const { return m_restoredPlace.Place(normalGeometry()); }
  // Puts the window where it goes as a restored window, before it is shown.
  void placeRestored(const QRect& place);
  // Shows the window maximised; a hidden one is first sized to the work area, where
  // the window manager will put it.
  void showMaximizedAtOnce();
  // Applies the owner's minimum tracking size (WM_GETMINMAXINFO), within the
  // work area of the window's screen.
  void applyMinMaxInfo();

  // The window's shape; an empty region: none. A top-level window takes it when it is
  // first exposed: mapped with the shape of the size it had before the window manager
  // sized it, the shape of its new size would expose, and compose, most of it again.
  void setShape(const QRegion& shape);
  // The shape the window has, or takes when it is first exposed.
  QRegion shape() const { return m_pendingShape.value_or(mask()); }

  // The non-client pixels the owner has drawn and their way to the screen.
  WindowSurface& surface() { return m_surface; }
  // Paints the window now; one not yet exposed has its frame drawn now instead,
  // while the window system maps it, so that its first paint only copies pixels.
  void paintNow();

  // Sends WM_SIZE when the size type or the client size has changed.
  void reportSize();
  // Lays the client area out for the current size and reports the size; Qt holds
  // resize events back for hidden widgets, so positioning calls use it directly.
  void applyGeometry();

  // Pointer and keys: their translation into messages, the cursor, caption drags.
  WindowInput& input() { return m_input; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Follows the work area of the screen the window is on.
  void watchWorkArea();
  void followRestoredPlace();
  LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  // Paints region of a frame its owner has not drawn in the window's colour.
  void fillUndrawnFrame(const QRegion& region);
  // Asks the owner to draw its frame (WM_NCPAINT) when the surface no longer shows it.
  void redrawStaleFrame();
  UINT currentSizeType() const;
  // Whether the window is given the work area's size before it is shown maximised.
  bool sizedAtOnceWhenMaximised() const;
  // A maximised window that is now restored.
  bool leftMaximised(const QWindowStateChangeEvent& event) const;
  void applyShape(const QRegion& shape);

  CWnd* m_owner;
  QWidget* m_clientArea;
  WindowSurface m_surface;
  WindowInput m_input;
  UINT m_lastSizeType = ~0u;
  QSize m_lastClientSize;
  bool m_watchingWindow = false;
  std::optional<QRegion> m_pendingShape;
  bool m_exposed = false;
  QMetaObject::Connection m_workAreaWatch;
  RestoredPlace m_restoredPlace;

  friend class ::CWnd;
};

}  // namespace platform
