#include "skin/skin_frame_wnd.h"

#include <algorithm>
#include <cwchar>

#include "platform/command_ids.h"
#include "platform/system.h"
#include "skin/caption_buttons.h"
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

CSkinFrameWnd::CSkinFrameWnd() {
  for (const skin::CaptionButton& button : skin::kCaptionButtons)
    m_captionImages.push_back(CSkinImageStore::GetInstance()->GetImage(button.image));
  m_pBkImage = CSkinImageStore::GetInstance()->GetImage(kBackgroundImage);
}

CSkinFrameWnd::~CSkinFrameWnd() = default;

skin::FrameLayout CSkinFrameWnd::Layout() const {
  const CRect window = WindowRectAtOrigin();
  return skin::LayoutFrame(SIZE{window.Width(), window.Height()},
                           SIZE{GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)});
}

CRect CSkinFrameWnd::WindowRectAtOrigin() const {
  CRect window;
  GetWindowRect(&window);
  window.MoveToXY(0, 0);
  return window;
}

LRESULT CSkinFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_UNINITMENUPOPUP) OnNcPaint();
  return CFrameWndEx::WindowProc(message, wParam, lParam);
}

BOOL CSkinFrameWnd::OnNcCreate(LPCREATESTRUCT lpCreateStruct) {
  if (!CFrameWndEx::OnNcCreate(lpCreateStruct)) return FALSE;
  const skin::FrameLayout layout = Layout();
  for (size_t i = 0; i < skin::kCaptionButtons.size(); ++i) {
    CDUIButton& button = m_buttons[skin::kCaptionButtons[i].id];
    button = CDUIButton();
    button.m_rect = layout.buttons[i];
    button.m_pImage = m_captionImages[i];
    button.m_nFrameCount = kButtonFrameCount;
    button.m_nID = skin::kCaptionButtons[i].id;
    button.m_pOwner = this;
  }
  return TRUE;
}

void CSkinFrameWnd::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp) {
  if (!bCalcValidRects || !lpncsp) return;
  RECT& window = lpncsp->rgrc[0];
  const CRect client =
      skin::LayoutFrame(SIZE{window.right - window.left, window.bottom - window.top}, SIZE{})
          .client;
  window = RECT{window.left + client.left, window.top + client.top, window.left + client.right,
                window.top + client.bottom};
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
  PlaceCaptionButtons(Layout());
  if (nType == SIZE_RESTORED || nType == SIZE_MAXIMIZED) OnNcPaint();
}

void CSkinFrameWnd::ApplyWindowRegion() {
  const CRect window = WindowRectAtOrigin();
  // One past the right and bottom edges: the region's far edges are exclusive.
  m_rgnWindow.CreateRoundRectRgn(0, 0, window.Width() + 1, window.Height() + 1,
                                 skin::kRegionCornerEllipse, skin::kRegionCornerEllipse);
  SetWindowRgn(m_rgnWindow, TRUE);
}

void CSkinFrameWnd::PlaceCaptionButtons(const skin::FrameLayout& layout) {
  for (auto& [id, button] : m_buttons) button.MoveTo(layout.Button(id));
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

void CSkinFrameWnd::OnNcPaint() { PaintFrame(WindowRectAtOrigin()); }

void CSkinFrameWnd::PaintFrame(const CRect& damaged) {
  CDC* windowDC = GetWindowDC();
  if (!windowDC) return;
  if (!m_pBkImage) {
    ReleaseDC(windowDC);
    return;
  }
  const skin::FrameLayout layout = Layout();
  const CRect window = WindowRectAtOrigin();
  windowDC->IntersectClipRect(&damaged);
  windowDC->ExcludeClipRect(&layout.client);
  PlaceCaptionButtons(layout);

  CDC memoryDC;
  memoryDC.CreateCompatibleDC(windowDC);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(windowDC, window.Width(), window.Height());
  CBitmap* previousBitmap = memoryDC.SelectObject(&bitmap);
  memoryDC.SetBkMode(TRANSPARENT);
  // Drawing outside the damage would be copied nowhere.
  memoryDC.IntersectClipRect(&damaged);
  {
    Gdiplus::Graphics graphics(memoryDC);
    DrawBackground(graphics, window.Width(), window.Height());
    DrawTitle(graphics, *windowDC, DrawSmallIcon(memoryDC, layout));
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

CPoint CSkinFrameWnd::DrawSmallIcon(CDC& dc, const skin::FrameLayout& layout) {
  const HICON icon = reinterpret_cast<HICON>(SendMessage(WM_GETICON, ICON_SMALL, 0));
  if (!icon) return layout.titleWithoutIcon;
  DrawIconEx(dc, layout.icon.left, layout.icon.top, icon, layout.icon.Width(), layout.icon.Height(),
             0, nullptr, DI_NORMAL);
  return layout.titleWithIcon;
}

void CSkinFrameWnd::DrawTitle(Gdiplus::Graphics& graphics, CDC& windowDC, CPoint origin) {
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
  const Gdiplus::RectF at(Gdiplus::REAL(origin.x), Gdiplus::REAL(origin.y), 0, 0);
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
