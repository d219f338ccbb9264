// Non-client mouse input of the skinned frame: hit-testing, hover, press and
// release of the caption buttons, the caption double-click and the system menu.
#include "platform/menu.h"
#include "platform/system.h"
#include "skin/caption_buttons.h"
#include "skin/skin_frame_wnd.h"

namespace {

bool IsMoveOrSizeCode(UINT hitTest) {
  return hitTest == HTCAPTION || (hitTest >= HTLEFT && hitTest <= HTBOTTOMRIGHT);
}

}  // namespace

UINT CSkinFrameWnd::ButtonAt(CPoint point) const {
  const UINT id = Layout().ButtonAt(point);
  return m_buttons.count(id) ? id : 0;
}

CPoint CSkinFrameWnd::ScreenToWindow(CPoint point) const {
  CRect window;
  GetWindowRect(&window);
  return CPoint(point.x - window.left, point.y - window.top);
}

void CSkinFrameWnd::RepaintIf(bool changed, const CDUIButton& button) {
  if (changed) PaintFrame(Layout().Button(button.m_nID));
}

void CSkinFrameWnd::EnableCaptionButton(UINT id, BOOL enable) {
  const auto button = m_buttons.find(id);
  if (button != m_buttons.end()) RepaintIf(button->second.SetDisabled(!enable), button->second);
}

void CSkinFrameWnd::ReleaseHoveredButton() {
  CDUIButton& button = m_buttons.at(m_hoverId);
  RepaintIf(button.Leave(), button);
  m_hoverId = 0;
}

void CSkinFrameWnd::SendButtonCommand(UINT sysCommand) {
  // A maximised window is restored before it closes.
  if (sysCommand == SC_CLOSE) SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
  if (sysCommand == SC_MAXIMIZE && IsZoomed()) sysCommand = SC_RESTORE;
  SendMessage(WM_SYSCOMMAND, sysCommand, 0);
}

LRESULT CSkinFrameWnd::OnNcHitTest(CPoint point) {
  const bool resizable = (GetStyle() & WS_THICKFRAME) && !IsZoomed() && !IsIconic();
  return skin::HitTest(Layout(), ScreenToWindow(point), resizable);
}

void CSkinFrameWnd::OnNcMouseMove(UINT nHitTest, CPoint point) {
  if (!m_bTracking) {
    TRACKMOUSEEVENT request{sizeof(TRACKMOUSEEVENT), TME_LEAVE | TME_NONCLIENT, GetSafeHwnd(), 0};
    m_bTracking = _TrackMouseEvent(&request);
  }
  if (IsMoveOrSizeCode(nHitTest)) Default();
  const UINT id = ButtonAt(ScreenToWindow(point));
  // Moves within one button change nothing and repaint nothing.
  if (id == m_hoverId) return;
  if (m_hoverId != 0) ReleaseHoveredButton();
  if (id != 0) {
    m_hoverId = id;
    CDUIButton& button = m_buttons.at(id);
    RepaintIf(button.Hover(), button);
  }
}

void CSkinFrameWnd::OnNcMouseLeave() {
  m_bTracking = FALSE;
  if (m_hoverId == 0) return;
  ReleaseHoveredButton();
}

void CSkinFrameWnd::OnNcLButtonDown(UINT, CPoint point) {
  const CPoint p = ScreenToWindow(point);
  const UINT id = ButtonAt(p);
  if (id != 0) {
    // A press on a skin button never starts a window move.
    CDUIButton& button = m_buttons.at(id);
    RepaintIf(button.Press(), button);
  } else if (Layout().systemMenuSpot.PtInRect(p)) {
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
  const UINT id = ButtonAt(ScreenToWindow(point));
  if (id == 0) {
    Default();
    return;
  }
  ClickButton(id);
}

void CSkinFrameWnd::ClickButton(UINT id) {
  const skin::CaptionButton* entry = skin::FindCaptionButton(id);
  if (entry && entry->sysCommand != 0) {
    SendButtonCommand(entry->sysCommand);
    return;
  }
  CDUIButton& button = m_buttons.at(id);
  const bool wasPressed = button.IsPressed();
  button.FireClick();
  RepaintIf(wasPressed != button.IsPressed(), button);
}

std::vector<platform::AccessibleCaptionButton> CSkinFrameWnd::AccessibleCaptionButtons() const {
  std::vector<platform::AccessibleCaptionButton> buttons;
  const bool maximized = IsZoomed();
  const skin::FrameLayout layout = Layout();
  for (const skin::CaptionButton& entry : skin::kCaptionButtons) {
    const auto button = m_buttons.find(entry.id);
    if (button == m_buttons.end()) continue;
    buttons.push_back({entry.id, maximized ? entry.nameWhenMaximized : entry.name,
                       layout.Button(entry.id), !button->second.IsDisabled()});
  }
  return buttons;
}

void CSkinFrameWnd::PressCaptionButton(UINT id) {
  const auto button = m_buttons.find(id);
  if (button == m_buttons.end() || button->second.IsDisabled()) return;
  // A button without a window command completes a press that a click begins on it.
  const skin::CaptionButton* entry = skin::FindCaptionButton(id);
  if (!entry || entry->sysCommand == 0) button->second.Press();
  ClickButton(button->first);
}

void CSkinFrameWnd::OnNcLButtonDblClk(UINT, CPoint point) {
  const CPoint p = ScreenToWindow(point);
  const UINT id = ButtonAt(p);
  if (id != 0) {
    CDUIButton& button = m_buttons.at(id);
    RepaintIf(button.Press(), button);
  } else if (Layout().captionStrip.PtInRect(p)) {
    ShowWindow(IsZoomed() ? SW_RESTORE : SW_MAXIMIZE);
    OnNcPaint();
  }
}
