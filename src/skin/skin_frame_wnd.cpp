#include "skin/skin_frame_wnd.h"

#include <algorithm>
#include <cwchar>

#include "platform/command_ids.h"
#include "platform/system.h"
#include "skin/caption_buttons.h"
#include "skin/skin_geometry.h"
#include "skin/skin_image_store.h"

IMPLEMENT_DYNCREATE(CSkinFrameWnd, CFrameWndEx)

namespace {

constexpr const wchar_t* kBackgroundImage = L"dialog\\DialogBkg.png";
constexpr UINT kButtonFrameCount = 3;

// The product's title when the application's string table has none.
constexpr const wchar_t* kTitle = L"lumerock";
constexpr LONG kTitleFontHeight = -12;
constexpr const wchar_t* kTitleFontFace = L"微软雅黑";
constexpr Gdiplus::ARGB kTitleColor = 0xFFFFFFFF;

// Sent by the themed window manager to draw a caption or frame of its own.
constexpr UINT WM_NCUAHDRAWCAPTION = 0x00AE;
constexpr UINT WM_NCUAHDRAWFRAME = 0x00AF;

// The application's title, which an app that names itself may have replaced.
CString ProductTitle() {
  CString title;
  return title.LoadString(AFX_IDS_APP_TITLE) ? title : CString(kTitle);
}

Gdiplus::RectF ToRectF(const skin::PixelRect& rect) {
  return Gdiplus::RectF(Gdiplus::REAL(rect.x), Gdiplus::REAL(rect.y), Gdiplus::REAL(rect.width),
                        Gdiplus::REAL(rect.height));
}

}  // namespace

CSkinFrameWnd::CSkinFrameWnd()
    : m_nCaptionHeight(skin::kCaptionHeight), m_nBorderWidth(skin::kBorderWidth) {
  for (const skin::CaptionButton& button : skin::kCaptionButtons)
    m_captionImages.push_back(CSkinImageStore::GetInstance()->GetImage(button.image));
  m_pBkImage = CSkinImageStore::GetInstance()->GetImage(kBackgroundImage);
  m_rcIcon =
      CRect(skin::kIconLeft, skin::kIconHotSpotTop, skin::kIconLeft + GetSystemMetrics(SM_CXSMICON),
            skin::kIconHotSpotTop + GetSystemMetrics(SM_CYSMICON));
}

CSkinFrameWnd::~CSkinFrameWnd() = default;

CDUIButton* CSkinFrameWnd::AddButton(UINT id, const RECT& rect, Gdiplus::Image* image) {
  CDUIButton button;
  button.m_rect = rect;
  button.m_pImage = image;
  button.m_nFrameCount = kButtonFrameCount;
  button.m_nID = id;
  button.m_pOwner = this;
  CDUIButton& stored = m_buttons[static_cast<int>(id)];
  stored = button;
  return &stored;
}

CRect CSkinFrameWnd::WindowRectAtOrigin() const {
  CRect window;
  GetWindowRect(&window);
  window.MoveToXY(0, 0);
  return window;
}

LRESULT CSkinFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCUAHDRAWCAPTION || message == WM_NCUAHDRAWFRAME) {
    OnNcPaint();
    return 0;
  }
  if (message == WM_UNINITMENUPOPUP) OnNcPaint();
  return CFrameWndEx::WindowProc(message, wParam, lParam);
}

BOOL CSkinFrameWnd::OnNcCreate(LPCREATESTRUCT lpCreateStruct) {
  if (!CFrameWndEx::OnNcCreate(lpCreateStruct)) return FALSE;
  const CRect start = skin::CreationButtonRect(WindowRectAtOrigin().Width());
  for (size_t i = 0; i < skin::kCaptionButtons.size(); ++i)
    AddButton(skin::kCaptionButtons[i].id, start, m_captionImages[i]);
  return TRUE;
}

void CSkinFrameWnd::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp) {
  if (!bCalcValidRects || !lpncsp) return;
  lpncsp->rgrc[0].left += m_nBorderWidth;
  lpncsp->rgrc[0].top += m_nCaptionHeight;
  lpncsp->rgrc[0].right -= m_nBorderWidth;
  lpncsp->rgrc[0].bottom -= m_nBorderWidth;
}

void CSkinFrameWnd::OnGetMinMaxInfo(MINMAXINFO* lpMMI) {
  if (lpMMI) {
    lpMMI->ptMinTrackSize.x = std::max<LONG>(lpMMI->ptMinTrackSize.x, skin::kMinTrackWidth);
    lpMMI->ptMinTrackSize.y = std::max<LONG>(lpMMI->ptMinTrackSize.y, skin::kMinTrackHeight);
  }
  CFrameWndEx::OnGetMinMaxInfo(lpMMI);
}

void CSkinFrameWnd::OnSize(UINT nType, int cx, int cy) {
  CFrameWndEx::OnSize(nType, cx, cy);
  if (nType != SIZE_MINIMIZED && nType != SIZE_MAXHIDE) ApplyWindowRegion();
  PlaceCaptionButtons(WindowRectAtOrigin().Width());
  if (nType == SIZE_RESTORED || nType == SIZE_MAXIMIZED) OnNcPaint();
}

void CSkinFrameWnd::ApplyWindowRegion() {
  const CRect window = WindowRectAtOrigin();
  // One past the right and bottom edges: the region's far edges are exclusive.
  m_rgnWindow.CreateRoundRectRgn(0, 0, window.Width() + 1, window.Height() + 1,
                                 skin::kRegionCornerEllipse, skin::kRegionCornerEllipse);
  SetWindowRgn(m_rgnWindow, TRUE);
}

void CSkinFrameWnd::PlaceCaptionButtons(int windowWidth) {
  for (const skin::CaptionButton& entry : skin::kCaptionButtons) {
    const auto button = m_buttons.find(static_cast<int>(entry.id));
    if (button != m_buttons.end())
      button->second.MoveTo(skin::PlacedButtonRect(entry, windowWidth));
  }
}

BOOL CSkinFrameWnd::OnNcActivate(BOOL /*bActive*/) {
  // Active and inactive captions look the same; the system must not draw its own.
  OnNcPaint();
  return TRUE;
}

void CSkinFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
  CFrameWndEx::OnActivate(nState, pWndOther, bMinimized);
  OnNcPaint();
}

void CSkinFrameWnd::OnSysCommand(UINT nID, LPARAM lParam) {
  // Closing may destroy this window: nothing may touch it afterwards.
  if (nID != SC_CLOSE) OnNcPaint();
  CFrameWndEx::OnSysCommand(nID, lParam);
}

void CSkinFrameWnd::OnNcPaint() {
  CDC* windowDC = GetWindowDC();
  if (!windowDC) return;
  if (!m_pBkImage) {
    ReleaseDC(windowDC);
    return;
  }
  const CRect window = WindowRectAtOrigin();
  CRect client;
  GetClientRect(&client);
  client.OffsetRect(m_nBorderWidth, m_nCaptionHeight);
  windowDC->ExcludeClipRect(&client);

  CDC memoryDC;
  memoryDC.CreateCompatibleDC(windowDC);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(windowDC, window.Width(), window.Height());
  CBitmap* previousBitmap = memoryDC.SelectObject(&bitmap);
  memoryDC.SetBkMode(TRANSPARENT);
  {
    Gdiplus::Graphics graphics(memoryDC);
    DrawBackground(graphics, window.Width(), window.Height());
    const int titleLeft = DrawSmallIcon(memoryDC);
    DrawTitle(graphics, *windowDC, titleLeft);
    DrawButtons(graphics, *windowDC);
    windowDC->BitBlt(0, 0, window.Width(), window.Height(), &memoryDC, 0, 0, SRCCOPY);
    windowDC->SelectClipRgn(nullptr);
  }
  memoryDC.SelectObject(previousBitmap);
  bitmap.DeleteObject();
  memoryDC.DeleteDC();
  ReleaseDC(windowDC);
}

void CSkinFrameWnd::DrawBackground(Gdiplus::Graphics& graphics, int width, int height) {
  const auto pieces = skin::BackgroundPieces(width, height, int(m_pBkImage->GetWidth()),
                                             int(m_pBkImage->GetHeight()));
  for (const skin::BackgroundPiece& piece : pieces) {
    const skin::PixelRect& from = piece.source;
    if (piece.scaled) {
      graphics.DrawImage(m_pBkImage, ToRectF(piece.destination), Gdiplus::REAL(from.x),
                         Gdiplus::REAL(from.y), Gdiplus::REAL(from.width),
                         Gdiplus::REAL(from.height), Gdiplus::UnitPixel);
    } else {
      graphics.DrawImage(m_pBkImage, piece.destination.x, piece.destination.y, from.x, from.y,
                         from.width, from.height, Gdiplus::UnitPixel);
    }
  }
}

int CSkinFrameWnd::DrawSmallIcon(CDC& dc) {
  const HICON icon = reinterpret_cast<HICON>(SendMessage(WM_GETICON, ICON_SMALL, 0));
  if (!icon) return skin::TitleLeft(false, 0);
  const int width = GetSystemMetrics(SM_CXSMICON);
  DrawIconEx(dc, skin::kIconLeft, skin::kIconTop, icon, width, GetSystemMetrics(SM_CYSMICON), 0,
             nullptr, DI_NORMAL);
  return skin::TitleLeft(true, width);
}

void CSkinFrameWnd::DrawTitle(Gdiplus::Graphics& graphics, CDC& windowDC, int titleLeft) {
  LOGFONTW logfont = {};
  logfont.lfHeight = kTitleFontHeight;
  logfont.lfWeight = FW_BOLD;
  std::wcsncpy(logfont.lfFaceName, kTitleFontFace, LF_FACESIZE - 1);
  const Gdiplus::Font font(windowDC, &logfont);
  Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsNoWrap);
  format.SetAlignment(Gdiplus::StringAlignmentNear);
  format.SetLineAlignment(Gdiplus::StringAlignmentNear);
  const Gdiplus::SolidBrush brush{Gdiplus::Color(kTitleColor)};
  // A zero-size layout rectangle neither wraps nor clips the title.
  const Gdiplus::RectF at(Gdiplus::REAL(titleLeft), Gdiplus::REAL(skin::kTitleTop), 0, 0);
  graphics.DrawString(ProductTitle(), -1, &font, at, &format, &brush);
}

void CSkinFrameWnd::DrawButtons(Gdiplus::Graphics& graphics, CDC& windowDC) {
  CRect clipBox;
  windowDC.GetClipBox(&clipBox);
  for (auto& entry : m_buttons) {
    CDUIButton& button = entry.second;
    CRect overlap;
    if (clipBox.IsRectEmpty() || overlap.IntersectRect(clipBox, button.m_rect))
      button.Draw(&graphics);
  }
}
