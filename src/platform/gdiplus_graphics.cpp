// Drawing into a device context: images, scaled or not, and text.
#include <QFontMetricsF>
#include <QPainter>
#include <cwchar>

#include "platform/gdiplus.h"
#include "platform/qt/device_pixels.h"
#include "platform/qt/gdi_handles.h"
#include "platform/qt/gdiplus_data.h"
#include "platform/qt/nearest_scaler.h"

namespace Gdiplus {

namespace {

constexpr qreal kUnbounded = 1e6;

QString FromWide(const WCHAR* text, INT length) {
  if (!text) return QString();
  const size_t count = length < 0 ? std::wcslen(text) : static_cast<size_t>(length);
  return QString::fromWCharArray(text, static_cast<qsizetype>(count));
}

Qt::Alignment HorizontalAlignment(StringAlignment alignment) {
  switch (alignment) {
    case StringAlignmentCenter:
      return Qt::AlignHCenter;
    case StringAlignmentFar:
      return Qt::AlignRight;
    default:
      return Qt::AlignLeft;
  }
}

Qt::Alignment VerticalAlignment(StringAlignment alignment) {
  switch (alignment) {
    case StringAlignmentCenter:
      return Qt::AlignVCenter;
    case StringAlignmentFar:
      return Qt::AlignBottom;
    default:
      return Qt::AlignTop;
  }
}

// Where a text extent goes along one axis: inside a bounded layout span, or
// anchored at the start of an unbounded (zero) one.
qreal PlaceAlong(qreal start, qreal span, qreal extent, StringAlignment alignment) {
  const qreal room = span > 0 ? span - extent : -extent;
  switch (alignment) {
    case StringAlignmentCenter:
      return start + room / 2;
    case StringAlignmentFar:
      return start + room;
    default:
      return start;
  }
}

// A painter on the context's pixels, clipped as the context is.
class ContextPainter {
 public:
  explicit ContextPainter(HDC hdc) : m_hdc(hdc) {
    QImage* target = hdc ? hdc->target() : nullptr;
    if (!target || target->isNull()) return;
    m_painter.begin(target);
    if (hdc->clip) m_painter.setClipRegion(*hdc->clip);
  }
  bool isActive() const { return m_painter.isActive(); }
  QPainter& painter() { return m_painter; }
  // Ends drawing and shows what changed in a window context.
  void finish(const QRectF& touched) {
    m_painter.end();
    m_hdc->flush(m_hdc->clipRegion().intersected(touched.toAlignedRect()));
  }

 private:
  HDC m_hdc;
  QPainter m_painter;
};

}  // namespace

Graphics::Graphics(HDC hdc) : m_hdc(hdc) {
  if (!hdc) m_lastStatus = InvalidParameter;
}

Status Graphics::Record(Status status) {
  m_lastStatus = status;
  return status;
}

Status Graphics::DrawImage(Image* image, const RectF& destRect, REAL srcx, REAL srcy, REAL srcwidth,
                           REAL srcheight, Unit srcUnit, const ImageAttributes* imageAttributes,
                           DrawImageAbort /*callback*/, void* /*callbackData*/) {
  if (!image) return Record(InvalidParameter);
  if (image->GetLastStatus() != Ok) return Record(image->GetLastStatus());
  if (srcUnit != UnitPixel || imageAttributes) return Record(NotImplemented);
  if (destRect.Width <= 0 || destRect.Height <= 0 || srcwidth <= 0 || srcheight <= 0)
    return Record(InvalidParameter);
  QImage* pixels = m_hdc ? m_hdc->target() : nullptr;
  if (!pixels || pixels->isNull()) return Record(InvalidParameter);
  const qreal ratio = pixels->devicePixelRatio();
  const Representation drawn = image->m_data->forRatio(ratio);
  const QRectF target(destRect.X, destRect.Y, destRect.Width, destRect.Height);
  // The source rectangle in the pixels of the copy drawn.
  const QRectF source(srcx * drawn.scale, srcy * drawn.scale, srcwidth * drawn.scale,
                      srcheight * drawn.scale);
  // The scaler works in device pixels; only whole logical rectangles map onto them exactly.
  const bool whole = target == QRectF(target.toRect());
  if (whole && platform::ScaleNearest(*pixels, platform::DeviceRegion(m_hdc->clipRegion(), ratio),
                                      QRectF(platform::DeviceRect(target.toRect(), ratio)),
                                      *drawn.pixels, source)) {
    m_hdc->flush(m_hdc->clipRegion().intersected(target.toRect()));
    return Record(Ok);
  }
  ContextPainter context(m_hdc);
  context.painter().drawImage(target, *drawn.pixels, source);
  context.finish(target);
  return Record(Ok);
}

Status Graphics::DrawImage(Image* image, INT x, INT y) {
  if (!image) return Record(InvalidParameter);
  return DrawImage(image, x, y, 0, 0, INT(image->GetWidth()), INT(image->GetHeight()), UnitPixel);
}

Status Graphics::DrawImage(Image* image, INT x, INT y, INT srcx, INT srcy, INT srcwidth,
                           INT srcheight, Unit srcUnit) {
  return DrawImage(image, RectF(REAL(x), REAL(y), REAL(srcwidth), REAL(srcheight)), REAL(srcx),
                   REAL(srcy), REAL(srcwidth), REAL(srcheight), srcUnit);
}

Status Graphics::DrawString(const WCHAR* string, INT length, const Font* font,
                            const RectF& layoutRect, const StringFormat* stringFormat,
                            const Brush* brush) {
  if (!string || !font || !brush) return Record(InvalidParameter);
  if (font->GetLastStatus() != Ok) return Record(font->GetLastStatus());
  const QString text = FromWide(string, length);
  if (text.isEmpty()) return Record(Ok);
  const StringFormat defaultFormat;
  const StringFormat& format = stringFormat ? *stringFormat : defaultFormat;
  const bool vertical = format.GetFormatFlags() & StringFormatFlagsDirectionVertical;
  const bool wrap = !(format.GetFormatFlags() & StringFormatFlagsNoWrap);

  ContextPainter context(m_hdc);
  if (!context.isActive()) return Record(InvalidParameter);
  QPainter& painter = context.painter();
  const QRectF layout(layoutRect.X, layoutRect.Y, layoutRect.Width, layoutRect.Height);
  const bool bounded = layout.width() > 0 && layout.height() > 0;
  if (bounded) painter.setClipRect(layout, Qt::IntersectClip);

  // Vertical text runs top to bottom: lay it out in a frame turned a quarter
  // clockwise, where the layout's height is the line length.
  QSizeF span = layout.size();
  painter.translate(layout.topLeft());
  if (vertical) {
    painter.translate(layout.width(), 0);
    painter.rotate(90);
    span.transpose();
  }
  const int wrapFlag = wrap && span.width() > 0 ? Qt::TextWordWrap : 0;
  const QRectF measureIn(0, 0, span.width() > 0 ? span.width() : kUnbounded,
                         span.height() > 0 ? span.height() : kUnbounded);
  painter.setFont(font->m_data->font);
  const QRectF extent =
      QFontMetricsF(font->m_data->font, painter.device()).boundingRect(measureIn, wrapFlag, text);
  const QRectF placed(PlaceAlong(0, span.width(), extent.width(), format.GetAlignment()),
                      PlaceAlong(0, span.height(), extent.height(), format.GetLineAlignment()),
                      extent.width(), extent.height());
  painter.setPen(QColor::fromRgba(brush->colorValue()));
  painter.drawText(placed,
                   wrapFlag | HorizontalAlignment(format.GetAlignment()) |
                       VerticalAlignment(format.GetLineAlignment()),
                   text);
  const QRectF touched = painter.transform().mapRect(placed);
  context.finish(bounded ? touched.intersected(layout) : touched);
  return Record(Ok);
}

}  // namespace Gdiplus
