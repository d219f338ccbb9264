// Non-client mouse input of the skinned frame: hit-testing, hover, press and
// release of the caption buttons, the caption double-click and the system menu.
#include "platform/menu.h"
#include "platform/system.h"
#include "skin/caption_buttons.h"
#include "skin/skin_frame_wnd.h"
#include "skin/skin_geometry.h"

namespace {

bool IsMoveOrSizeCode(UINT hitTest) {
  return hitTest == HTCAPTION || (hitTest >= HTLEFT && hitTest <= HTBOTTOMRIGHT);
}

}  // namespace

int CSkinFrameWnd::ButtonFromPoint(POINT p) const {
  for (const auto& [id, button] : m_buttons) {
    if (button.m_rect.PtInRect(p)) return id;
  }
  return -1;
}

CPoint CSkinFrameWnd::ScreenToWindow(CPoint point) const {
  CRect window;
  GetWindowRect(&window);
  return CPoint(point.x - window.left, point.y - window.top);
}

void CSkinFrameWnd::RepaintIf(bool changed, const CDUIButton& button) {
  if (changed) InvalidateRect(&button.m_rect, TRUE);
}

void CSkinFrameWnd::ReleaseHoveredButton() {
  CDUIButton& button = m_buttons[m_nHoverId];
  RepaintIf(button.Leave(), button);
  m_nHoverId = -1;
}

void CSkinFrameWnd::SendButtonCommand(UINT sysCommand) {
  // A maximised window is restored before it closes.
  if (sysCommand == SC_CLOSE) SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
  if (sysCommand == SC_MAXIMIZE && IsZoomed()) sysCommand = SC_RESTORE;
  SendMessage(WM_SYSCOMMAND, sysCommand, 0);
}

LRESULT CSkinFrameWnd::OnNcHitTest(CPoint point) {
  const CPoint p = ScreenToWindow(point);
  const int id = ButtonFromPoint(p);
  if (id == -1) {
    if (m_rcIcon.PtInRect(p)) return HTSYSMENU;
  } else if (const skin::CaptionButton* entry = skin::FindCaptionButton(id)) {
    if (entry->hitCode != HTNOWHERE) return entry->hitCode;
  }
  return CFrameWndEx::OnNcHitTest(point);
}

void CSkinFrameWnd::OnNcMouseMove(UINT nHitTest, CPoint point) {
  if (!m_bTracking) {
    TRACKMOUSEEVENT request{sizeof(TRACKMOUSEEVENT), TME_LEAVE | TME_NONCLIENT, GetSafeHwnd(), 0};
    m_bTracking = _TrackMouseEvent(&request);
  }
  if (IsMoveOrSizeCode(nHitTest)) Default();
  const int id = ButtonFromPoint(ScreenToWindow(point));
  // Moves within one button change nothing and repaint nothing.
  if (id == m_nHoverId) return;
  if (m_nHoverId != -1) ReleaseHoveredButton();
  if (id != -1) {
    m_nHoverId = id;
    CDUIButton& button = m_buttons[id];
    RepaintIf(button.Hover(), button);
  }
  OnNcPaint();
}

void CSkinFrameWnd::OnNcMouseLeave() {
  m_bTracking = FALSE;
  if (m_nHoverId == -1) return;
  ReleaseHoveredButton();
  OnNcPaint();
}

void CSkinFrameWnd::OnNcLButtonDown(UINT, CPoint point) {
  const CPoint p = ScreenToWindow(point);
  const int id = ButtonFromPoint(p);
  if (id != -1) {
    // A press on a skin button never starts a window move.
    CDUIButton& button = m_buttons[id];
    RepaintIf(button.Press(), button);
    OnNcPaint();
  } else if (m_rcIcon.PtInRect(p)) {
    if (CMenu* menu = GetSystemMenu(FALSE)) {
      menu->TrackPopupMenu(TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, point.x, point.y, this);
    }
  } else {
    Default();
  }
}

void CSkinFrameWnd::OnNcLButtonUp(UINT, CPoint point) {
  // The window commands are sent, not posted: the close command destroys this
  // frame, so nothing may touch it afterwards.
  const int id = ButtonFromPoint(ScreenToWindow(point));
  if (id == -1) {
    Default();
    return;
  }
  ClickButton(id);
}

void CSkinFrameWnd::ClickButton(int id) {
  const skin::CaptionButton* entry = skin::FindCaptionButton(id);
  if (entry && entry->sysCommand != 0) {
    SendButtonCommand(entry->sysCommand);
    return;
  }
  m_buttons[id].FireClick();
  OnNcPaint();
}

std::vector<platform::AccessibleCaptionButton> CSkinFrameWnd::AccessibleCaptionButtons() const {
  std::vector<platform::AccessibleCaptionButton> buttons;
  const bool maximized = IsZoomed();
  for (const skin::CaptionButton& entry : skin::kCaptionButtons) {
    const auto button = m_buttons.find(static_cast<int>(entry.id));
    if (button == m_buttons.end()) continue;
    buttons.push_back({entry.id, maximized ? entry.nameWhenMaximized : entry.name,
                       button->second.m_rect, !button->second.IsDisabled()});
  }
  return buttons;
}

void CSkinFrameWnd::PressCaptionButton(UINT id) {
  const auto button = m_buttons.find(static_cast<int>(id));
  if (button == m_buttons.end() || button->second.IsDisabled()) return;
  // A button without a window command completes a press that a click begins on it.
  const skin::CaptionButton* entry = skin::FindCaptionButton(id);
  if (!entry || entry->sysCommand == 0) button->second.Press();
  ClickButton(button->first);
}

void CSkinFrameWnd::OnNcLButtonDblClk(UINT, CPoint point) {
  const CPoint p = ScreenToWindow(point);
  const CRect captionStrip(0, 0, WindowRectAtOrigin().Width(), m_nCaptionHeight);
  const int id = ButtonFromPoint(p);
  if (id != -1) {
    CDUIButton& button = m_buttons[id];
    RepaintIf(button.Press(), button);
  } else if (captionStrip.PtInRect(p)) {
    ShowWindow(IsZoomed() ? SW_RESTORE : SW_MAXIMIZE);
  }
  OnNcPaint();
}
