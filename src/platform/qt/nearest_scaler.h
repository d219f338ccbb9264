#pragma once

#include <QImage>
#include <QRectF>
#include <QRegion>

namespace platform {

// Nearest-pixel scaling of `from` in source onto `to` in target, within clip (all
// in the images' own pixels, whatever their device pixel ratios),
// row by row, picking the pixels the raster painter would. The painter takes
// its per-scanline span path for thin, tall targets (window borders), which
// costs far more than the pixels themselves. Returns false, drawing nothing,
// for anything it does not handle (other formats, fractional rectangles, a
// clip of more than one rectangle), for the painter to draw instead.
bool ScaleNearest(QImage& target, const QRegion& clip, const QRectF& to, const QImage& source,
                  const QRectF& from);

}  // namespace platform
