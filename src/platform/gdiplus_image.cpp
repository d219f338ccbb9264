// Images from files: decoded once, in the format that draws fastest.
#include <QFileInfo>

#include "platform/gdiplus.h"
#include "platform/qt/bounded_decode.h"
#include "platform/qt/gdiplus_data.h"

namespace Gdiplus {

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
}

Image::~Image() = default;

UINT Image::GetWidth() const { return static_cast<UINT>(m_data->image.width()); }

UINT Image::GetHeight() const { return static_cast<UINT>(m_data->image.height()); }

}  // namespace Gdiplus
