#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include "platform/qt/native_window.h"

namespace platform {

namespace {

// Qt's X11 back end writes WM_TRANSIENT_FOR only for dialogs and the like, and
// deletes it when it maps a window of the normal type; an owned window keeps that
// type (the window manager decorates, places and maximises it as any other), so
// the property is written once Qt has mapped the window. Window managers follow
// changes of it.
void MarkTransientForUnderX11(const QWindow& window, const QWindow& owner) {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
  if (!connection) return;
  const auto ownerId = static_cast<xcb_window_t>(owner.winId());
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window.winId()),
                      XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 32, 1, &ownerId);
  xcb_flush(connection);
}

}  // namespace

void ShowOwnedWindow(QWidget* window, HWND owner) {
  QWindow* ownerWindow = owner ? ChildContainerOf(owner)->window()->windowHandle() : nullptr;
  if (!ownerWindow) {
    window->show();
    return;
  }
  // Under Wayland the relation goes with the surface Qt makes when it shows the
  // window (xdg_toplevel's parent): it is set on the window made for it now.
  window->winId();
  window->windowHandle()->setTransientParent(ownerWindow);
  window->show();
  MarkTransientForUnderX11(*window->windowHandle(), *ownerWindow);
}

}  // namespace platform
