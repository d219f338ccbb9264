// Images from files: decoded once, in the format that draws fastest.
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>
#include <iterator>
#include <map>

#include "platform/gdiplus.h"
#include "platform/qt/bounded_decode.h"
#include "platform/qt/gdiplus_data.h"

namespace Gdiplus {

namespace {

// The copies of path's image for denser screens: files beside it named
// name@<scale>x.ext whose size is the image's size times the scale. Any other
// file, or one that does not decode, is left out.
std::map<qreal, QImage> DecodeDenserCopies(const QString& path, QSize logicalSize) {
  static const QRegularExpression kScaleSuffix(QStringLiteral("^@([0-9]+(?:\\.[0-9]+)?)x$"));
  const QFileInfo file(path);
  const QString base = file.completeBaseName();
  const QString extension = file.suffix().isEmpty() ? QString() : "." + file.suffix();
  std::map<qreal, QImage> copies;
  for (const QFileInfo& candidate : file.dir().entryInfoList(QDir::Files)) {
    const QString name = candidate.fileName();
    if (!name.startsWith(base) || !name.endsWith(extension)) continue;
    const QRegularExpressionMatch match =
        kScaleSuffix.match(name.mid(base.size(), name.size() - base.size() - extension.size()));
    const qreal scale = match.hasMatch() ? match.captured(1).toDouble() : 0;
    if (scale <= 1) continue;
    const QImage decoded = platform::DecodeBounded(candidate.filePath());
    const QSizeF expected = QSizeF(logicalSize) * scale;
    // Within a pixel: a fractional scale of an odd size rounds either way.
    if (decoded.isNull() || std::abs(decoded.width() - expected.width()) >= 1 ||
        std::abs(decoded.height() - expected.height()) >= 1)
      continue;
    QImage copy = platform::ToDrawingFormat(decoded);
    copy.setDevicePixelRatio(scale);
    copies.emplace(scale, std::move(copy));
  }
  return copies;
}

}  // namespace

Representation ImageData::forRatio(qreal ratio) const {
  if (ratio <= 1) return {&image, 1};
  // Most screens never need them, and they hold most of a skin's pixels.
  if (!denser)
    denser = path.isEmpty() ? std::map<qreal, QImage>() : DecodeDenserCopies(path, image.size());
  if (denser->empty()) return {&image, 1};
  const auto fitting = denser->lower_bound(ratio);
  const auto chosen = fitting != denser->end() ? fitting : std::prev(denser->end());
  return {&chosen->second, chosen->first};
}

Image::Image(const WCHAR* filename, BOOL /*useEmbeddedColorManagement*/)
    : m_data(std::make_unique<ImageData>()) {
  if (!filename) {
    m_status = InvalidParameter;
    return;
  }
  const QString path = QString::fromWCharArray(filename).replace(QLatin1Char('\\'), '/');
  if (!QFileInfo(path).isFile()) {
    m_status = FileNotFound;
    return;
  }
  const QImage decoded = platform::DecodeBounded(path);
  if (decoded.isNull()) {
    m_status = UnknownImageFormat;
    return;
  }
  m_data->image = platform::ToDrawingFormat(decoded);
  m_data->path = path;
}

Image::~Image() = default;

UINT Image::GetWidth() const { return static_cast<UINT>(m_data->image.width()); }

UINT Image::GetHeight() const { return static_cast<UINT>(m_data->image.height()); }

}  // namespace Gdiplus
