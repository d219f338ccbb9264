#include "skin/dui_button.h"

#include "platform/wnd.h"

namespace {

constexpr UINT kNormalFrame = 0;
constexpr UINT kHoverFrame = 1;
constexpr UINT kPressedFrame = 2;
constexpr UINT kDisabledFrame = 3;
constexpr int kIconLabelGap = 2;
constexpr const wchar_t* kLabelFamily = L"宋体";
constexpr Gdiplus::REAL kLabelPoints = 10;
constexpr Gdiplus::ARGB kLabelColor = 0xFFFFFFFF;
constexpr Gdiplus::ARGB kDisabledLabelColor = 0xFF808080;

}  // namespace

UINT CDUIButton::FrameIndex() const {
  if (m_bDisabled && m_nFrameCount > kDisabledFrame) return kDisabledFrame;
  if (m_bPressed && m_nFrameCount > kPressedFrame) return kPressedFrame;
  if (m_bHover && m_nFrameCount > kHoverFrame) return kHoverFrame;
  return kNormalFrame;
}

void CDUIButton::MoveTo(const RECT& rect) {
  m_ptIcon.Offset(rect.left - m_rect.left, rect.top - m_rect.top);
  m_rect = rect;
}

void CDUIButton::Draw(Gdiplus::Graphics* graphics) {
  if (!graphics) return;
  DrawFrame(*graphics);
  Gdiplus::StringFormat format(0, Gdiplus::LANG_NEUTRAL);
  Gdiplus::RectF layout(Gdiplus::REAL(m_rect.left), Gdiplus::REAL(m_rect.top),
                        Gdiplus::REAL(m_rect.Width()), Gdiplus::REAL(m_rect.Height()));
  if (m_pIcon) {
    graphics->DrawImage(m_pIcon, m_ptIcon.x, m_ptIcon.y);
    const int iconWidth = static_cast<int>(m_pIcon->GetWidth());
    layout = Gdiplus::RectF(
        Gdiplus::REAL(m_ptIcon.x + iconWidth + kIconLabelGap), Gdiplus::REAL(m_rect.top),
        Gdiplus::REAL(m_rect.Width() - iconWidth - kIconLabelGap), Gdiplus::REAL(m_rect.Height()));
    format.SetFormatFlags(Gdiplus::StringFormatFlagsDirectionVertical);
    format.SetAlignment(Gdiplus::StringAlignmentCenter);
    format.SetLineAlignment(Gdiplus::StringAlignmentNear);
  } else {
    format.SetAlignment(Gdiplus::StringAlignmentCenter);
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
  }
  if (!m_strText.IsEmpty()) DrawLabel(*graphics, layout, format);
}

void CDUIButton::DrawFrame(Gdiplus::Graphics& graphics) const {
  if (!m_pImage || m_nFrameCount == 0) return;
  // Columns left over by the division are never shown.
  const UINT frameWidth = m_pImage->GetWidth() / m_nFrameCount;
  const UINT frameHeight = m_pImage->GetHeight();
  if (frameWidth == 0 || frameHeight == 0) return;
  const Gdiplus::RectF destination(Gdiplus::REAL(m_rect.left), Gdiplus::REAL(m_rect.top),
                                   Gdiplus::REAL(m_rect.Width()), Gdiplus::REAL(m_rect.Height()));
  graphics.DrawImage(m_pImage, destination, Gdiplus::REAL(frameWidth * FrameIndex()), 0,
                     Gdiplus::REAL(frameWidth), Gdiplus::REAL(frameHeight), Gdiplus::UnitPixel);
}

void CDUIButton::DrawLabel(Gdiplus::Graphics& graphics, const Gdiplus::RectF& layout,
                           const Gdiplus::StringFormat& format) const {
  const Gdiplus::FontFamily family(kLabelFamily);
  const Gdiplus::Font font(&family, kLabelPoints, Gdiplus::FontStyleRegular, Gdiplus::UnitPoint);
  const Gdiplus::SolidBrush brush(Gdiplus::Color(m_bDisabled ? kDisabledLabelColor : kLabelColor));
  graphics.DrawString(m_strText, -1, &font, layout, &format, &brush);
}

bool CDUIButton::Hover() {
  if (m_bDisabled || m_bHover) return false;
  m_bHover = true;
  return true;
}

bool CDUIButton::Press() {
  if (m_bDisabled || m_bPressed) return false;
  m_bPressed = true;
  return true;
}

bool CDUIButton::Leave() {
  if (m_bDisabled || (!m_bHover && !m_bPressed)) return false;
  m_bHover = false;
  m_bPressed = false;
  return true;
}

bool CDUIButton::SetDisabled(bool disabled) {
  if (m_bDisabled == disabled) return false;
  m_bDisabled = disabled;
  return true;
}

void CDUIButton::FireClick() {
  if (m_bDisabled || !m_bPressed) return;
  m_bPressed = false;
  m_bToggled = !m_bToggled;
  if (!m_pOwner) return;
  m_pOwner->InvalidateRect(&m_rect, TRUE);
  m_pOwner->PostMessage(WM_COMMAND, LOWORD(m_nID), 0);
}
