#pragma once

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QTimer>
#include <functional>

class QWidget;

namespace platform {

// The non-client pixels a window's owner draws through its window device context,
// window-sized in device pixels, and how they reach the screen. Made on first use
// and given back after a while without drawing; the next paint of the frame asks
// the owner to draw them again.
class WindowSurface {
 public:
  // window shows the surface everywhere outside clientArea, a child of it.
  WindowSurface(QWidget& window, const QWidget& clientArea);
  WindowSurface(const WindowSurface&) = delete;
  WindowSurface& operator=(const WindowSurface&) = delete;

  // The pixels, made afresh (in the window's colour) when the window's size, ratio
  // or client area changed.
  QImage& pixels();
  // Whether the window holds pixels now: only while its owner draws a frame.
  bool holds() const { return !m_pixels.isNull(); }
  // Gives the memory back; the frame is stale until its owner draws it again.
  void release();

  // The one way to say the pixels no longer show the owner's frame (a resize, a
  // state change, a hidden window's drawing, a redraw asked for).
  void markStale() { m_stale = true; }
  // Asks the owner to draw (redraw) once if the frame is stale; what it draws in the
  // meantime is shown by the paint that follows, not on its own.
  void redrawIfStale(const std::function<void()>& redraw);

  // Of a logical region about to be copied from source (moved by offset), the part
  // worth copying: the rows that would change, and what the screen does not show yet.
  QRegion whatChanges(const QImage& source, const QRegion& region, QPoint offset) const;
  // Puts the region on screen now; inside a paint, that paint shows it.
  void show(const QRegion& region);
  // Inside the window's paint event: paints the region from the pixels.
  void paint(const QRegion& region);

  // Device pixels put on screen so far: what a repaint costs the screen.
  quint64 pixelsShown() const { return m_pixelsShown; }

 private:
  // The window's shape: its mask, or the whole window without one.
  QRegion visibleShape() const;
  void drawOnto(QPaintDevice* device, const QRegion& region);
  // Straight into the backing store, row by row; false where that cannot be done.
  bool copyIntoBackingStore(const QRegion& region);
  void shown(const QRegion& region);

  QWidget& m_window;
  const QWidget& m_clientArea;
  QImage m_pixels;
  // The part of the pixels, inside the client area, that was never filled.
  QRect m_unfilled;
  QRegion m_unshown;
  QTimer m_releaseWhenIdle;
  bool m_stale = true;
  bool m_painting = false;
  quint64 m_pixelsShown = 0;
};

}  // namespace platform
