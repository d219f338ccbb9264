#pragma once

#include <memory>
#include <string>

#include "platform/gdi.h"
#include "platform/win_types.h"

// The drawing library's classes with their GDI+ names: images from files,
// drawing on a device context, text. Objects remember the status of their last
// call; a failed call has no other effect.
namespace Gdiplus {

typedef float REAL;
typedef int INT;
typedef uint32_t UINT32;
typedef DWORD ARGB;

enum Status {
  Ok = 0,
  GenericError = 1,
  InvalidParameter = 2,
  OutOfMemory = 3,
  ObjectBusy = 4,
  InsufficientBuffer = 5,
  NotImplemented = 6,
  Win32Error = 7,
  WrongState = 8,
  Aborted = 9,
  FileNotFound = 10,
  ValueOverflow = 11,
  AccessDenied = 12,
  UnknownImageFormat = 13,
  FontFamilyNotFound = 14,
  FontStyleNotFound = 15,
  NotTrueTypeFont = 16,
  UnsupportedGdiplusVersion = 17,
  GdiplusNotInitialized = 18,
};

enum Unit {
  UnitWorld = 0,
  UnitDisplay = 1,
  UnitPixel = 2,
  UnitPoint = 3,
  UnitInch = 4,
  UnitDocument = 5,
  UnitMillimeter = 6,
};

enum FontStyle {
  FontStyleRegular = 0,
  FontStyleBold = 1,
  FontStyleItalic = 2,
  FontStyleBoldItalic = 3,
  FontStyleUnderline = 4,
  FontStyleStrikeout = 8,
};

enum StringAlignment {
  StringAlignmentNear = 0,
  StringAlignmentCenter = 1,
  StringAlignmentFar = 2,
};

enum StringFormatFlags {
  StringFormatFlagsDirectionRightToLeft = 0x00000001,
  StringFormatFlagsDirectionVertical = 0x00000002,
  StringFormatFlagsNoWrap = 0x00001000,
};

constexpr LANGID LANG_NEUTRAL = 0x00;

// --- library start-up ---

typedef void (*DebugEventProc)(int level, char* message);

struct GdiplusStartupInput {
  UINT32 GdiplusVersion = 1;
  DebugEventProc DebugEventCallback = nullptr;
  BOOL SuppressBackgroundThread = FALSE;
  BOOL SuppressExternalCodecs = FALSE;
};

struct GdiplusStartupOutput {
  void* NotificationHook = nullptr;
  void* NotificationUnhook = nullptr;
};

Status GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input,
                      GdiplusStartupOutput* output);
void GdiplusShutdown(ULONG_PTR token);

// How often the library was started and shut down in this process.
struct LibraryCounters {
  unsigned startups = 0;
  unsigned shutdowns = 0;
};
LibraryCounters GetLibraryCounters();

// --- geometry and colour ---

struct RectF {
  RectF() = default;
  RectF(REAL x, REAL y, REAL width, REAL height) : X(x), Y(y), Width(width), Height(height) {}
  REAL X = 0;
  REAL Y = 0;
  REAL Width = 0;
  REAL Height = 0;
};

class Color {
 public:
  Color() = default;
  explicit Color(ARGB argb) : m_argb(argb) {}
  ARGB GetValue() const { return m_argb; }

 private:
  ARGB m_argb = 0xFF000000;
};

// --- images ---

struct ImageData;

class Image {
 public:
  // Decodes BMP, PNG (alpha kept) and the other formats Qt reads. Backslashes in
  // the name are folder separators. A missing or undecodable file, or one of more
  // than 2048 x 2048 pixels, gives an image of size 0 with an error status that
  // draws nothing.
  explicit Image(const WCHAR* filename, BOOL useEmbeddedColorManagement = FALSE);
  virtual ~Image();
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;

  UINT GetWidth() const;
  UINT GetHeight() const;
  Status GetLastStatus() const { return m_status; }

 private:
  friend class Graphics;

  std::unique_ptr<ImageData> m_data;
  Status m_status = Ok;
};

class Bitmap : public Image {
 public:
  explicit Bitmap(const WCHAR* filename, BOOL useEmbeddedColorManagement = FALSE)
      : Image(filename, useEmbeddedColorManagement) {}
};

class ImageAttributes;
typedef BOOL (*DrawImageAbort)(void*);

// --- text ---

class FontCollection;

class FontFamily {
 public:
  // A family that is not installed stands in for by an installed one with the
  // same script coverage, so CJK text never shows empty boxes.
  explicit FontFamily(const WCHAR* name, const FontCollection* fontCollection = nullptr);
  Status GetLastStatus() const { return m_status; }
  // The installed family drawing uses.
  const std::wstring& resolvedName() const { return m_resolved; }

 private:
  std::wstring m_resolved;
  Status m_status = Ok;
};

struct FontData;

class Font {
 public:
  Font(HDC hdc, const LOGFONTW* logfont);
  Font(const FontFamily* family, REAL emSize, INT style = FontStyleRegular, Unit unit = UnitPoint);
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  Status GetLastStatus() const { return m_status; }
  // The em height in device pixels.
  REAL GetPixelSize() const;

 private:
  friend class Graphics;

  // weight: 100 to 900 (400 regular, 700 bold); style adds italic, underline, strikeout.
  void Init(const WCHAR* family, REAL pixelSize, int weight, INT style);

  std::unique_ptr<FontData> m_data;
  Status m_status = Ok;
};

class StringFormat {
 public:
  // Text is laid out the same for every language.
  explicit StringFormat(INT formatFlags = 0, LANGID /*language*/ = LANG_NEUTRAL)
      : m_flags(formatFlags) {}
  Status SetFormatFlags(INT flags) {
    m_flags = flags;
    return Ok;
  }
  INT GetFormatFlags() const { return m_flags; }
  Status SetAlignment(StringAlignment align) {
    m_alignment = align;
    return Ok;
  }
  StringAlignment GetAlignment() const { return m_alignment; }
  Status SetLineAlignment(StringAlignment align) {
    m_lineAlignment = align;
    return Ok;
  }
  StringAlignment GetLineAlignment() const { return m_lineAlignment; }

 private:
  INT m_flags;
  StringAlignment m_alignment = StringAlignmentNear;
  StringAlignment m_lineAlignment = StringAlignmentNear;
};

class Brush {
 public:
  virtual ~Brush() = default;
  virtual ARGB colorValue() const = 0;
};

class SolidBrush : public Brush {
 public:
  explicit SolidBrush(const Color& color) : m_color(color) {}
  ARGB colorValue() const override { return m_color.GetValue(); }

 private:
  Color m_color;
};

// --- drawing ---

class Graphics {
 public:
  // Draws on whatever the context draws on, inside its clip region.
  explicit Graphics(HDC hdc);
  ~Graphics() = default;
  Graphics(const Graphics&) = delete;
  Graphics& operator=(const Graphics&) = delete;

  // The source rectangle of image, scaled into destRect (nearest pixel).
  Status DrawImage(Image* image, const RectF& destRect, REAL srcx, REAL srcy, REAL srcwidth,
                   REAL srcheight, Unit srcUnit, const ImageAttributes* imageAttributes = nullptr,
                   DrawImageAbort callback = nullptr, void* callbackData = nullptr);
  // The whole image, unscaled, with its top-left corner at (x, y).
  Status DrawImage(Image* image, INT x, INT y);
  // The source rectangle of image, unscaled, at (x, y).
  Status DrawImage(Image* image, INT x, INT y, INT srcx, INT srcy, INT srcwidth, INT srcheight,
                   Unit srcUnit);
  // Text in a layout rectangle; a rectangle of zero width or height does not
  // bound the text in that direction. length -1: up to the terminator.
  Status DrawString(const WCHAR* string, INT length, const Font* font, const RectF& layoutRect,
                    const StringFormat* stringFormat, const Brush* brush);

  Status GetLastStatus() const { return m_lastStatus; }

 private:
  Status Record(Status status);

  HDC m_hdc;
  Status m_lastStatus = Ok;
};

}  // namespace Gdiplus
