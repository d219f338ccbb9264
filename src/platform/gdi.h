#pragma once

#include "platform/geometry.h"
#include "platform/win_types.h"

// Device contexts, bitmaps, regions and icons with their Win32 names and values.

struct HDC__;
typedef HDC__* HDC;
struct HBITMAP__;
typedef HBITMAP__* HBITMAP;
struct HBRUSH__;
typedef HBRUSH__* HBRUSH;

// Background modes
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Raster operation of a plain copy
constexpr DWORD SRCCOPY = 0x00CC0020;

// DrawIconEx flags
constexpr UINT DI_MASK = 0x0001;
constexpr UINT DI_IMAGE = 0x0002;
constexpr UINT DI_NORMAL = DI_MASK | DI_IMAGE;

// Region complexity, returned by the clipping calls
constexpr int RGN_ERROR = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;

class CDC;

// A bitmap compatible with a device context. While it is selected into a
// memory context, drawing on that context lands in it.
class CBitmap {
 public:
  CBitmap() = default;
  ~CBitmap();
  CBitmap(const CBitmap&) = delete;
  CBitmap& operator=(const CBitmap&) = delete;

  // Pixels of nWidth x nHeight in the format of pDC's target. Bitmaps for a
  // window context are recycled per window and size, so their content is what
  // the last user of that size left (opaque black when new).
  BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
  // Fails (FALSE) while the bitmap is selected into a context.
  BOOL DeleteObject();
  HBITMAP GetSafeHandle() const { return m_hObject; }
  operator HBITMAP() const { return m_hObject; }

 private:
  HBITMAP m_hObject = nullptr;
};

struct HRGN__;

// A region of pixels; right and bottom edges exclusive.
class CRgn {
 public:
  CRgn() = default;
  ~CRgn();
  CRgn(const CRgn&) = delete;
  CRgn& operator=(const CRgn&) = delete;

  // The rectangle (x1, y1)-(x2, y2) with corners rounded by an ellipse of
  // nWidth x nHeight, as the window system rasterises it. A region already held
  // is released first.
  BOOL CreateRoundRectRgn(int x1, int y1, int x2, int y2, int nWidth, int nHeight);
  BOOL DeleteObject();
  BOOL PtInRegion(int x, int y) const;
  // The bounding rectangle; returns the region's complexity.
  int GetRgnBox(LPRECT lpRect) const;
  HRGN GetSafeHandle() const { return m_hObject; }
  operator HRGN() const { return m_hObject; }

 private:
  HRGN m_hObject = nullptr;
};

// A device context: a window's whole surface (CWnd::GetWindowDC) or a memory
// context that draws into the bitmap selected into it.
class CDC {
 public:
  CDC() = default;
  virtual ~CDC();
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  HDC m_hDC = nullptr;
  HDC GetSafeHdc() const { return m_hDC; }
  operator HDC() const { return m_hDC; }

  // A memory context whose bitmaps match pDC (or the screen for null). It
  // starts with a 1 x 1 stock bitmap selected.
  BOOL CreateCompatibleDC(CDC* pDC);
  BOOL DeleteDC();
  // Returns the bitmap selected before, null for the stock bitmap; selecting
  // null puts the stock bitmap back.
  CBitmap* SelectObject(CBitmap* pBitmap);
  // Returns the previous mode, 0 on failure.
  int SetBkMode(int nBkMode);
  // Clipping: a context starts unclipped (its whole target). Each call returns
  // the complexity of the new clip region.
  int ExcludeClipRect(int x1, int y1, int x2, int y2);
  int ExcludeClipRect(LPCRECT lpRect);
  int IntersectClipRect(int x1, int y1, int x2, int y2);
  int IntersectClipRect(LPCRECT lpRect);
  // Null removes clipping.
  int SelectClipRgn(CRgn* pRgn);
  int GetClipBox(LPRECT lpRect) const;
  // Copies pixels from pSrcDC, inside this context's clip region only. SRCCOPY
  // is the one operation there is.
  BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop);
};

// Draws the icon scaled to cxWidth x cyWidth (its natural size for 0), inside
// the context's clip region. Only DI_NORMAL-style drawing exists.
BOOL DrawIconEx(HDC hdc, int xLeft, int yTop, HICON hIcon, int cxWidth, int cyWidth,
                UINT istepIfAniCur, HBRUSH hbrFlickerFreeDraw, UINT diFlags);

// Logical font description
constexpr int LF_FACESIZE = 32;
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_BOLD = 700;

struct LOGFONTW {
  LONG lfHeight;
  LONG lfWidth;
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  WCHAR lfFaceName[LF_FACESIZE];
};
