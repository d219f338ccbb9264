#pragma once

#include "platform/win_types.h"

class QWidget;

// A native window handle is a widget. This is all the browser runtime needs of
// the window system: where a browser placed in a window goes, and the handle of
// a browser's own widget.
namespace platform {

inline HWND HandleOf(QWidget* widget) { return reinterpret_cast<HWND>(widget); }

// The widget into which a window's child windows go: the client area of a
// window object, or the widget itself for any other handle.
QWidget* ChildContainerOf(HWND hWnd);

// Shows a top-level widget as a window that owner opened: it stays above the
// owner's window, and that is all; either may close first. No owner: a window
// like any other.
void ShowOwnedWindow(QWidget* window, HWND owner);

}  // namespace platform
