#include "platform/qt/window_surface.h"

#include <QBackingStore>
#include <QPainter>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/qt/device_pixels.h"
#include "platform/qt/releasable_image.h"

namespace platform {
namespace {

// Fills an ARGB32 premultiplied image with colour, except inside hole.
void FillAround(QImage& image, const QRect& hole, const QColor& colour) {
  const QRgb pixel = qPremultiply(colour.rgba());
  const QRect inside = hole & image.rect();
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    QRgb* const end = row + image.width();
    if (inside.isEmpty() || y < inside.top() || y > inside.bottom()) {
      std::fill(row, end, pixel);
      continue;
    }
    std::fill(row, row + inside.left(), pixel);
    std::fill(row + inside.right() + 1, end, pixel);
  }
}

// The logical rows of region where copying source, moved by offset, would change
// destination's pixels.
QRegion ChangingRows(const QImage& destination, const QImage& source, const QRegion& region,
                     QPoint offset) {
  QPoint shift;
  if (!SameLayout(destination, source, offset, &shift)) return region;
  const qreal ratio = destination.devicePixelRatio();
  QRegion changing;
  for (const QRect& rect : SharedDeviceRegion(destination, source, region, shift)) {
    const size_t bytes = size_t(rect.width()) * 4;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
      const uchar* to = destination.constScanLine(y) + rect.left() * 4;
      const uchar* from = source.constScanLine(y + shift.y()) + (rect.left() + shift.x()) * 4;
      if (std::memcmp(to, from, bytes) != 0)
        changing += LogicalRectOf(QRect(rect.left(), y, rect.width(), 1), ratio);
    }
  }
  return changing & region;
}

}  // namespace

WindowSurface::WindowSurface(QWidget& window, const QWidget& clientArea)
    : m_window(window), m_clientArea(clientArea) {
  m_releaseWhenIdle.setSingleShot(true);
  m_releaseWhenIdle.setInterval(kIdleBufferReleaseMs);
  QObject::connect(&m_releaseWhenIdle, &QTimer::timeout, [this] { release(); });
}

QImage& WindowSurface::pixels() {
  // Device pixels: what the owner draws stays sharp on a dense screen.
  const qreal ratio = m_window.devicePixelRatioF();
  const QSize deviceSize = DeviceSize(m_window.size(), ratio);
  // Only the frame is ever shown: the client area's pages stay untouched, as filling a
  // window-sized buffer costs more than drawing the frame.
  const QRect unfilled = DeviceRect(m_clientArea.geometry(), ratio).adjusted(1, 1, -1, -1);
  if (m_pixels.size() != deviceSize || m_pixels.devicePixelRatio() != ratio ||
      m_unfilled != unfilled) {
    m_pixels = MakeReleasableImage(deviceSize, QImage::Format_ARGB32_Premultiplied);
    m_pixels.setDevicePixelRatio(ratio);
    FillAround(m_pixels, unfilled, m_window.palette().window().color());
    m_unfilled = unfilled;
    m_unshown = m_window.rect();
  }
  m_releaseWhenIdle.start();
  return m_pixels;
}

void WindowSurface::release() {
  // The backing store still shows the pixels; a later paint of the frame itself
  // asks the owner to draw them again.
  m_pixels = QImage();
  markStale();
}

void WindowSurface::redrawIfStale(const std::function<void()>& redraw) {
  if (!m_stale) return;
  m_stale = false;
  m_painting = true;
  redraw();
  m_painting = false;
}

QRegion WindowSurface::whatChanges(const QImage& source, const QRegion& region,
                                   QPoint offset) const {
  // Most full redraws of a frame look as before: what they leave alone is not copied.
  return ChangingRows(m_pixels, source, region, offset) + (region & m_unshown);
}

QRegion WindowSurface::visibleShape() const {
  return m_window.mask().isEmpty() ? QRegion(m_window.rect()) : m_window.mask();
}

void WindowSurface::show(const QRegion& region) {
  // Inside a paint the pixels are drawn right after; elsewhere show them now.
  if (m_painting || !m_window.isVisible()) return;
  if (!copyIntoBackingStore(region)) m_window.repaint(region);
}

bool WindowSurface::copyIntoBackingStore(const QRegion& region) {
  QBackingStore* store = m_window.backingStore();
  QWindow* window = m_window.windowHandle();
  // Only whole ratios map logical rows onto device rows exactly as Qt maps them;
  // at fractional ones Qt's own repaint decides which device pixels a region covers.
  const qreal ratio = m_window.devicePixelRatioF();
  if (!store || !window || !window->isExposed() || ratio != std::floor(ratio) ||
      store->size() != m_window.size())
    return false;
  // A repaint() of a region of thin border rows costs several times more in Qt's span
  // clipping. Outside the window's shape nothing is copied: there the window shows
  // what is behind it.
  const QRegion inside = region & visibleShape();
  if (inside.isEmpty()) return true;
  store->beginPaint(inside);
  QPaintDevice* device = store->paintDevice();
  auto* target =
      device && device->devType() == QInternal::Image ? static_cast<QImage*>(device) : nullptr;
  const QRegion deviceRows = DeviceRegion(inside, ratio);
  const QRect rows = deviceRows.boundingRect();
  if (target && target->depth() == 32 && m_pixels.depth() == 32 &&
      target->devicePixelRatio() == ratio && target->rect().contains(rows) &&
      m_pixels.rect().contains(rows)) {
    for (const QRect& r : deviceRows) {
      for (int y = r.top(); y <= r.bottom(); ++y) {
        std::memcpy(target->scanLine(y) + r.left() * 4, m_pixels.constScanLine(y) + r.left() * 4,
                    size_t(r.width()) * 4);
      }
    }
  } else {
    drawOnto(device, inside);
  }
  store->endPaint();
  store->flush(inside, window);
  shown(inside);
  return true;
}

void WindowSurface::paint(const QRegion& region) {
  const QRegion inside = region & visibleShape();
  pixels();
  drawOnto(&m_window, inside);
  shown(inside);
}

void WindowSurface::drawOnto(QPaintDevice* device, const QRegion& region) {
  QPainter painter(device);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.setClipRegion(region);
  painter.drawImage(QPointF(0, 0), m_pixels);
}

void WindowSurface::shown(const QRegion& region) {
  m_unshown -= region;
  for (const QRect& rect : DeviceRegion(region, m_window.devicePixelRatioF()))
    m_pixelsShown += quint64(rect.width()) * quint64(rect.height());
}

}  // namespace platform
