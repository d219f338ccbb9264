// Font families and fonts: requested by the other window system's names and
// units, drawn with installed families at pixel sizes.
#include <QFontMetricsF>
#include <QGuiApplication>
#include <algorithm>
#include <cwchar>

#include "platform/gdiplus.h"
#include "platform/qt/font_substitution.h"
#include "platform/qt/gdiplus_data.h"

namespace Gdiplus {

namespace {

constexpr REAL kDeviceDpi = 96;
constexpr REAL kPointsPerInch = 72;
constexpr REAL kMillimetresPerInch = 25.4f;
constexpr REAL kDocumentUnitsPerInch = 300;
constexpr REAL kDefaultLogFontPixels = 12;
constexpr int kRegularWeight = 400;
constexpr int kBoldWeight = 700;

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

}  // namespace

FontFamily::FontFamily(const WCHAR* name, const FontCollection* /*fontCollection*/) {
  if (!name || !*name) {
    m_status = InvalidParameter;
    return;
  }
  if (!FontsAvailable()) {
    m_status = GdiplusNotInitialized;
    return;
  }
  m_resolved = platform::ResolveFontFamily(name).toStdWString();
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
  const QString resolved = platform::ResolveFontFamily(family && *family ? family : L"");
  // Glyphs the family lacks come from the CJK family before anything else.
  font.setFamilies({resolved, platform::GlyphFallbackFamily()});
  font.setPixelSize(std::max(1, qRound(pixelSize)));
  font.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 100, 900)));
  font.setItalic(style & FontStyleItalic);
  font.setUnderline(style & FontStyleUnderline);
  font.setStrikeOut(style & FontStyleStrikeout);
  m_data->font = font;
  m_data->pixelSize = pixelSize;
}

REAL Font::GetPixelSize() const { return m_data->pixelSize; }

}  // namespace Gdiplus
