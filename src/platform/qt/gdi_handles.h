#pragma once

#include <QImage>
#include <QPointer>
#include <QRegion>
#include <QWidget>
#include <optional>

#include "platform/gdi.h"
#include "platform/qt/device_pixels.h"

// What the window system's drawing handles stand for on Qt.

struct HBITMAP__ {
  QImage image;
  // The window whose bitmap cache gets the pixels back on deletion, if any.
  QPointer<QWidget> cacheOwner;
  HDC__* selectedInto = nullptr;
  CBitmap* object = nullptr;
};

struct HRGN__ {
  QRegion region;
};

struct HDC__ {
  // The window whose surface a window context draws on, or whose surface a
  // memory context is compatible with.
  QPointer<QWidget> window;
  bool isWindowContext = false;
  HBITMAP__* bitmap = nullptr;  // memory contexts; null while the stock bitmap is in
  CBitmap* selectedObject = nullptr;
  QImage stockBitmap;
  std::optional<QRegion> clip;  // none: the whole target
  int bkMode = OPAQUE;

  // The pixels drawing lands in; null once the window is gone. Its device pixel
  // ratio says how many of them make one logical pixel.
  QImage* target();
  // The target's extent in logical pixels, the unit every drawing call speaks.
  QRect targetRect() { return target() ? platform::LogicalRect(*target()) : QRect(); }
  // The clip region in logical target coordinates.
  QRegion clipRegion() { return clip ? *clip : QRegion(targetRect()); }
  // After drawing into the target: shows a window context's changed pixels.
  void flush(const QRegion& changed);
};
