#include "platform/gdiplus.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <cwchar>
#include <limits>
#include <map>
#include <set>
#include <vector>

#include "platform/qt/gdi_handles.h"

namespace Gdiplus {

struct ImageData {
  QImage image;
};

struct FontData {
  QFont font;
  REAL pixelSize = 0;
};

namespace {

constexpr REAL kDeviceDpi = 96;
constexpr REAL kPointsPerInch = 72;
constexpr REAL kMillimetresPerInch = 25.4f;
constexpr REAL kDocumentUnitsPerInch = 300;
constexpr REAL kDefaultLogFontPixels = 12;
constexpr int kRegularWeight = 400;
constexpr int kBoldWeight = 700;
constexpr qreal kUnbounded = 1e6;
// The most pixels one image may decode to (2048 x 2048 at 4 bytes each, 16 MiB): far above
// any skin image, and a file that declares more is refused before anything is allocated.
constexpr qint64 kMaxDecodedPixels = 2048 * 2048;
constexpr int kDecodeLimitMegabytes = int(kMaxDecodedPixels * 4 / (1024 * 1024));

// Installed families that cover the same scripts as common families of the
// other window system, best first.
const std::map<std::wstring, QStringList>& Substitutes() {
  static const std::map<std::wstring, QStringList> substitutes = {
      {L"宋体", {"Noto Serif CJK SC", "Noto Sans CJK SC"}},
      {L"SimSun", {"Noto Serif CJK SC", "Noto Sans CJK SC"}},
      {L"新宋体", {"Noto Serif CJK SC", "Noto Sans CJK SC"}},
      {L"微软雅黑", {"Noto Sans CJK SC"}},
      {L"Microsoft YaHei", {"Noto Sans CJK SC"}},
      {L"黑体", {"Noto Sans CJK SC"}},
      {L"SimHei", {"Noto Sans CJK SC"}},
  };
  return substitutes;
}

const QStringList& GeneralFallbacks() {
  static const QStringList fallbacks = {"Noto Sans CJK SC", "DejaVu Sans"};
  return fallbacks;
}

// The installed family to draw a requested one with.
QString ResolveFamily(const std::wstring& requested) {
  static std::map<std::wstring, QString> resolved;
  const auto known = resolved.find(requested);
  if (known != resolved.end()) return known->second;
  QStringList candidates = {QString::fromStdWString(requested)};
  const auto substitutes = Substitutes().find(requested);
  if (substitutes != Substitutes().end()) candidates += substitutes->second;
  candidates += GeneralFallbacks();
  QString family = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
  for (const QString& candidate : candidates) {
    if (!candidate.isEmpty() && QFontDatabase::hasFamily(candidate)) {
      family = candidate;
      break;
    }
  }
  resolved[requested] = family;
  return family;
}

REAL PixelsPer(Unit unit) {
  switch (unit) {
    case UnitPoint:
      return kDeviceDpi / kPointsPerInch;
    case UnitInch:
      return kDeviceDpi;
    case UnitDocument:
      return kDeviceDpi / kDocumentUnitsPerInch;
    case UnitMillimeter:
      return kDeviceDpi / kMillimetresPerInch;
    default:
      return 1;
  }
}

bool FontsAvailable() { return QGuiApplication::instance() != nullptr; }

bool EveryPixelOpaque(const QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    if (!std::all_of(row, row + image.width(), [](QRgb p) { return qAlpha(p) == 255; }))
      return false;
  }
  return true;
}

// The format the raster painter and the scaler below handle fastest: no alpha
// channel unless some pixel needs one.
QImage ToDrawingFormat(const QImage& decoded) {
  if (!decoded.hasAlphaChannel()) return decoded.convertToFormat(QImage::Format_RGB32);
  const QImage premultiplied = decoded.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  return EveryPixelOpaque(premultiplied) ? premultiplied.convertToFormat(QImage::Format_RGB32)
                                         : premultiplied;
}

bool WithinDecodeLimit(const QSize& size) {
  return qint64(size.width()) * size.height() <= kMaxDecodedPixels;
}

// The file's pixels, or a null image when it cannot be read or declares more
// pixels than the limit.
QImage DecodeBounded(const QString& path) {
  QImageReader reader(path);
  // Also bounds decoders that do not report a size before reading.
  reader.setAllocationLimit(kDecodeLimitMegabytes);
  const QSize declared = reader.size();
  if (declared.isValid() && !WithinDecodeLimit(declared)) return QImage();
  const QImage decoded = reader.read();
  return WithinDecodeLimit(decoded.size()) ? decoded : QImage();
}

bool IsWholeNumber(qreal value) { return value == std::floor(value); }

bool HasWholeCorners(const QRectF& rect) {
  return IsWholeNumber(rect.x()) && IsWholeNumber(rect.y()) && IsWholeNumber(rect.width()) &&
         IsWholeNumber(rect.height());
}

bool IsPlain32Bit(QImage::Format format) {
  return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32_Premultiplied;
}

// Source-over of a premultiplied pixel, as the raster painter computes it.
QRgb BlendOver(QRgb source, QRgb destination) {
  const uint inverse = 255 - qAlpha(source);
  uint redBlue = (destination & 0xff00ff) * inverse;
  redBlue = ((redBlue + ((redBlue >> 8) & 0xff00ff) + 0x800080) >> 8) & 0xff00ff;
  uint alphaGreen = ((destination >> 8) & 0xff00ff) * inverse;
  alphaGreen = (alphaGreen + ((alphaGreen >> 8) & 0xff00ff) + 0x800080) & 0xff00ff00;
  return source + (alphaGreen | redBlue);
}

// The source pixel under the centre of target pixel `offset`, a centre on a
// boundary going to the lower pixel, as the raster painter picks it.
int NearestSource(int offset, int sourceLength, int targetLength) {
  return int(((qint64(offset) * 2 + 1) * sourceLength - 1) / (qint64(targetLength) * 2));
}

// One colour over count pixels; long runs (a stretched caption) double up
// with block copies, which beat a store per pixel.
void FillRow(QRgb* row, int count, QRgb pixel) {
  constexpr int kShortRun = 16;
  const int first = std::min(count, kShortRun);
  std::fill_n(row, first, pixel);
  for (int done = first; done < count;) {
    const int chunk = std::min(done, count - done);
    std::memcpy(row + done, row, size_t(chunk) * sizeof(QRgb));
    done += chunk;
  }
}

// Nearest-pixel scaling between plain 32-bit images, row by row. The raster
// painter takes its per-scanline span path for thin, tall targets (window
// borders), which costs far more than the pixels themselves. Returns false for
// anything it does not handle, for the painter to draw instead.
bool ScaleNearest(QImage& target, const QRegion& clip, const QRectF& to, const QImage& source,
                  const QRectF& from) {
  if (!IsPlain32Bit(target.format()) || !IsPlain32Bit(source.format()) || clip.rectCount() > 1 ||
      !HasWholeCorners(to) || !HasWholeCorners(from) || !source.rect().contains(from.toRect()))
    return false;
  const QRect destination = to.toRect() & target.rect() & clip.boundingRect();
  if (destination.isEmpty()) return true;
  const QRect area = to.toRect();
  const QRect sample = from.toRect();
  // Runs of target columns that show the same source column.
  struct Run {
    int sourceX;
    int length;
  };
  std::vector<Run> runs;
  for (int x = destination.left(); x <= destination.right(); ++x) {
    const int sourceX =
        sample.left() + NearestSource(x - area.left(), sample.width(), area.width());
    if (!runs.empty() && runs.back().sourceX == sourceX)
      ++runs.back().length;
    else
      runs.push_back({sourceX, 1});
  }
  const bool opaque = source.format() == QImage::Format_RGB32;
  // Row addresses from one base each: scanLine() checks for sharing on every call.
  uchar* const targetBits = target.bits();
  const uchar* const sourceBits = source.constBits();
  const bool unscaled = opaque && sample.size() == area.size();
  for (int y = destination.top(); y <= destination.bottom(); ++y) {
    const int sourceY =
        sample.top() + NearestSource(y - area.top(), sample.height(), area.height());
    const auto* sourceRow =
        reinterpret_cast<const QRgb*>(sourceBits + sourceY * source.bytesPerLine());
    auto* targetRow =
        reinterpret_cast<QRgb*>(targetBits + y * target.bytesPerLine()) + destination.left();
    if (unscaled) {
      std::memcpy(targetRow, sourceRow + runs.front().sourceX,
                  size_t(destination.width()) * sizeof(QRgb));
      continue;
    }
    for (const Run& run : runs) {
      const QRgb pixel = sourceRow[run.sourceX];
      if (opaque || qAlpha(pixel) == 255) {
        FillRow(targetRow, run.length, pixel);
      } else if (qAlpha(pixel) != 0) {
        for (int i = 0; i < run.length; ++i) targetRow[i] = BlendOver(pixel, targetRow[i]);
      }
      targetRow += run.length;
    }
  }
  return true;
}

// The library's started sessions.
struct Library {
  std::set<ULONG_PTR> sessions;
  ULONG_PTR nextToken = 1;
  LibraryCounters counters;
};

Library& TheLibrary() {
  static Library library;
  return library;
}

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

}  // namespace

// --- library start-up ---

Status GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input,
                      GdiplusStartupOutput* /*output*/) {
  if (!token || !input) return InvalidParameter;
  if (input->GdiplusVersion != 1) return UnsupportedGdiplusVersion;
  Library& library = TheLibrary();
  *token = library.nextToken++;
  library.sessions.insert(*token);
  ++library.counters.startups;
  return Ok;
}

void GdiplusShutdown(ULONG_PTR token) {
  Library& library = TheLibrary();
  library.sessions.erase(token);
  ++library.counters.shutdowns;
}

LibraryCounters GetLibraryCounters() { return TheLibrary().counters; }

// --- images ---

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
  const QImage decoded = DecodeBounded(path);
  if (decoded.isNull()) {
    m_status = UnknownImageFormat;
    return;
  }
  m_data->image = ToDrawingFormat(decoded);
}

Image::~Image() = default;

UINT Image::GetWidth() const { return static_cast<UINT>(m_data->image.width()); }

UINT Image::GetHeight() const { return static_cast<UINT>(m_data->image.height()); }

// --- text ---

FontFamily::FontFamily(const WCHAR* name, const FontCollection* /*fontCollection*/) {
  if (!name || !*name) {
    m_status = InvalidParameter;
    return;
  }
  if (!FontsAvailable()) {
    m_status = GdiplusNotInitialized;
    return;
  }
  m_resolved = ResolveFamily(name).toStdWString();
}

Font::Font(HDC hdc, const LOGFONTW* logfont) : m_data(std::make_unique<FontData>()) {
  if (!hdc || !logfont) {
    m_status = InvalidParameter;
    return;
  }
  const LONG height = logfont->lfHeight;
  const REAL pixels = height < 0   ? REAL(-height)
                      : height > 0 ? REAL(height)
                                   : kDefaultLogFontPixels;
  INT style = FontStyleRegular;
  if (logfont->lfItalic) style |= FontStyleItalic;
  if (logfont->lfUnderline) style |= FontStyleUnderline;
  if (logfont->lfStrikeOut) style |= FontStyleStrikeout;
  const int weight = logfont->lfWeight > 0 ? int(logfont->lfWeight) : kRegularWeight;
  WCHAR face[LF_FACESIZE + 1] = {};
  std::wcsncpy(face, logfont->lfFaceName, LF_FACESIZE);
  Init(face, pixels, weight, style);
  if (m_status == Ok && height > 0) {
    // A positive height is the cell height: ascent plus descent.
    const QFontMetricsF metrics(m_data->font);
    const REAL em = pixels * pixels / REAL(metrics.ascent() + metrics.descent());
    m_data->font.setPixelSize(std::max(1, qRound(em)));
    m_data->pixelSize = em;
  }
}

Font::Font(const FontFamily* family, REAL emSize, INT style, Unit unit)
    : m_data(std::make_unique<FontData>()) {
  if (!family || family->GetLastStatus() != Ok) {
    m_status = family ? family->GetLastStatus() : InvalidParameter;
    return;
  }
  Init(family->resolvedName().c_str(), emSize * PixelsPer(unit),
       (style & FontStyleBold) ? kBoldWeight : kRegularWeight, style);
}

Font::~Font() = default;

void Font::Init(const WCHAR* family, REAL pixelSize, int weight, INT style) {
  if (!(pixelSize > 0)) {
    m_status = InvalidParameter;
    return;
  }
  if (!FontsAvailable()) {
    m_status = GdiplusNotInitialized;
    return;
  }
  QFont font;
  const QString resolved = ResolveFamily(family && *family ? family : L"");
  // Glyphs the family lacks come from the CJK family before anything else.
  font.setFamilies({resolved, GeneralFallbacks().first()});
  font.setPixelSize(std::max(1, qRound(pixelSize)));
  font.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 100, 900)));
  font.setItalic(style & FontStyleItalic);
  font.setUnderline(style & FontStyleUnderline);
  font.setStrikeOut(style & FontStyleStrikeout);
  m_data->font = font;
  m_data->pixelSize = pixelSize;
}

REAL Font::GetPixelSize() const { return m_data->pixelSize; }

// --- drawing ---

namespace {

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
  const QRectF target(destRect.X, destRect.Y, destRect.Width, destRect.Height);
  const QRectF source(srcx, srcy, srcwidth, srcheight);
  QImage* pixels = m_hdc ? m_hdc->target() : nullptr;
  if (!pixels || pixels->isNull()) return Record(InvalidParameter);
  if (ScaleNearest(*pixels, m_hdc->clipRegion(), target, image->m_data->image, source)) {
    m_hdc->flush(m_hdc->clipRegion().intersected(target.toRect()));
    return Record(Ok);
  }
  ContextPainter context(m_hdc);
  context.painter().drawImage(target, image->m_data->image, source);
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
