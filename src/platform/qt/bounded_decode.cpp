#include "platform/qt/bounded_decode.h"

#include <QImageReader>
#include <algorithm>

namespace platform {

namespace {

// The most pixels one image may decode to (2048 x 2048 at 4 bytes each, 16 MiB): far above
// any skin image.
constexpr qint64 kMaxDecodedPixels = 2048 * 2048;
constexpr int kDecodeLimitMegabytes = int(kMaxDecodedPixels * 4 / (1024 * 1024));

bool WithinDecodeLimit(const QSize& size) {
  return qint64(size.width()) * size.height() <= kMaxDecodedPixels;
}

bool EveryPixelOpaque(const QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    if (!std::all_of(row, row + image.width(), [](QRgb p) { return qAlpha(p) == 255; }))
      return false;
  }
  return true;
}

}  // namespace

QImage DecodeBounded(const QString& path) {
  QImageReader reader(path);
  // Also bounds decoders that do not report a size before reading.
  reader.setAllocationLimit(kDecodeLimitMegabytes);
  const QSize declared = reader.size();
  if (declared.isValid() && !WithinDecodeLimit(declared)) return QImage();
  const QImage decoded = reader.read();
  return WithinDecodeLimit(decoded.size()) ? decoded : QImage();
}

QImage ToDrawingFormat(const QImage& decoded) {
  if (!decoded.hasAlphaChannel()) return decoded.convertToFormat(QImage::Format_RGB32);
  const QImage premultiplied = decoded.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  return EveryPixelOpaque(premultiplied) ? premultiplied.convertToFormat(QImage::Format_RGB32)
                                         : premultiplied;
}

}  // namespace platform
