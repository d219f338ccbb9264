#pragma once

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QRegion>
#include <cmath>

// The window system's calls speak logical pixels; the images drawing lands in
// hold device pixels (logical size x device pixel ratio). A logical edge goes to
// the nearest device pixel edge, halves rounding up, as Qt places widgets: so
// rectangles that meet in logical pixels meet in device pixels with no gap and
// no overlap, the non-client pixels meet the client widget exactly, and a pointer
// on a painted pixel hit-tests to what was painted there.
namespace platform {

// Products like 3 x 1.1 or 1677 / 1.5 land a hair off the whole number they are.
constexpr qreal kRoundingSlack = 1e-9;

// The device pixel edge nearest to a logical edge.
inline int DeviceEdge(qreal logical, qreal ratio) {
  return int(std::floor(logical * ratio + 0.5 + kRoundingSlack));
}

inline QRect DeviceRect(const QRect& logical, qreal ratio) {
  if (ratio == 1 || logical.isEmpty()) return logical;
  const int left = DeviceEdge(logical.x(), ratio);
  const int top = DeviceEdge(logical.y(), ratio);
  return QRect(left, top, DeviceEdge(logical.x() + logical.width(), ratio) - left,
               DeviceEdge(logical.y() + logical.height(), ratio) - top);
}

inline QRegion DeviceRegion(const QRegion& logical, qreal ratio) {
  if (ratio == 1) return logical;
  QRegion device;
  for (const QRect& rect : logical) device += DeviceRect(rect, ratio);
  return device;
}

inline QSize DeviceSize(QSize logical, qreal ratio) {
  return QSize(DeviceEdge(logical.width(), ratio), DeviceEdge(logical.height(), ratio));
}

// An image's extent in logical pixels.
inline QRect LogicalRect(const QImage& image) {
  const qreal ratio = image.devicePixelRatio();
  return QRect(0, 0, qRound(image.width() / ratio), qRound(image.height() / ratio));
}

// The logical pixel under a pointer position given in logical coordinates: the
// one whose device pixels (as DeviceEdge maps it) hold the pixel the pointer is on.
inline QPoint LogicalPixelAt(QPointF position, qreal ratio) {
  const qreal toCentre = 0.5 / ratio;
  auto pixel = [toCentre](qreal at) { return int(std::ceil(at + toCentre - kRoundingSlack)) - 1; };
  return QPoint(pixel(position.x()), pixel(position.y()));
}

// The logical pixels that a rectangle's device pixels belong to.
inline QRect LogicalRectOf(const QRect& device, qreal ratio) {
  if (ratio == 1) return device;
  auto logical = [ratio](QPoint pixel) {
    return LogicalPixelAt((QPointF(pixel) + QPointF(0.5, 0.5)) / ratio, ratio);
  };
  return QRect(logical(device.topLeft()), logical(device.bottomRight()));
}

// Whether source, moved by offset (logical), lines up with destination pixel for
// pixel: one format of 32 bits, one ratio, an offset of whole device pixels. If so,
// shift is that offset in device pixels.
inline bool SameLayout(const QImage& destination, const QImage& source, QPoint offset,
                       QPoint* shift) {
  const qreal ratio = destination.devicePixelRatio();
  const QPointF deviceOffset = QPointF(offset) * ratio;
  const auto whole = [](qreal value) { return value == std::floor(value); };
  if (destination.format() != source.format() || destination.depth() != 32 ||
      source.devicePixelRatio() != ratio || !whole(deviceOffset.x()) || !whole(deviceOffset.y()))
    return false;
  *shift = deviceOffset.toPoint();
  return true;
}

// The device rectangles of a logical region that both images hold.
inline QRegion SharedDeviceRegion(const QImage& destination, const QImage& source,
                                  const QRegion& region, QPoint shift) {
  return DeviceRegion(region, destination.devicePixelRatio()) &
         (destination.rect() & source.rect().translated(-shift));
}

}  // namespace platform
