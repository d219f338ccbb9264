#pragma once

#include <QFont>
#include <QImage>

#include "platform/gdiplus.h"

// What the drawing classes hold behind their pointers: shared by the sources
// that make images and fonts and the one that draws them.
namespace Gdiplus {

struct ImageData {
  QImage image;
};

struct FontData {
  QFont font;
  REAL pixelSize = 0;
};

}  // namespace Gdiplus
