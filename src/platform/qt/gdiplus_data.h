#pragma once

#include <QFont>
#include <QImage>
#include <iterator>
#include <map>

#include "platform/gdiplus.h"

// What the drawing classes hold behind their pointers: shared by the sources
// that make images and fonts and the one that draws them.
namespace Gdiplus {

// An image as drawn at one density: its pixels and how many of them make one
// logical pixel.
struct Representation {
  const QImage* pixels;
  qreal scale;
};

struct ImageData {
  QImage image;
  // Sharper copies for denser screens, by scale, from files named name@<scale>x.ext.
  std::map<qreal, QImage> denser;

  // The copy to draw on a target of the given device pixel ratio: the least dense
  // one at least as dense as the target, or the densest there is.
  Representation forRatio(qreal ratio) const {
    if (ratio <= 1 || denser.empty()) return {&image, 1};
    const auto fitting = denser.lower_bound(ratio);
    const auto chosen = fitting != denser.end() ? fitting : std::prev(denser.end());
    return {&chosen->second, chosen->first};
  }
};

struct FontData {
  QFont font;
  REAL pixelSize = 0;
};

}  // namespace Gdiplus
