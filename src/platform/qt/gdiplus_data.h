#pragma once

#include <QFont>
#include <QImage>
#include <QString>
#include <map>
#include <optional>

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
  // The file the image came from, whose sharper copies for denser screens (files
  // named name@<scale>x.ext) are decoded only once drawing needs them.
  QString path;
  mutable std::optional<std::map<qreal, QImage>> denser;

  // The copy to draw on a target of the given device pixel ratio: the least dense
  // one at least as dense as the target, or the densest there is.
  Representation forRatio(qreal ratio) const;
};

struct FontData {
  QFont font;
  REAL pixelSize = 0;
};

}  // namespace Gdiplus
