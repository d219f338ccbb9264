#pragma once

#include <QImage>
#include <QString>

// Reading image files whose size nobody vouches for.
namespace platform {

// The file's pixels, or a null image when it cannot be read or declares more
// than 2048 x 2048 pixels; a file over the limit is refused before anything
// is allocated for it.
QImage DecodeBounded(const QString& path);

// The format the raster painter and the nearest-pixel scaler handle fastest:
// no alpha channel unless some pixel needs one.
QImage ToDrawingFormat(const QImage& decoded);

}  // namespace platform
