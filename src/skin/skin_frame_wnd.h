#pragma once

#include <map>
#include <vector>

#include "platform/accessible_caption.h"
#include "platform/frame_wnd.h"
#include "platform/gdi.h"
#include "platform/gdiplus.h"
#include "skin/dui_button.h"
#include "skin/skin_geometry.h"

// A frame window that draws its own caption and border from the skin, where
// skin::LayoutFrame puts them: a caption, thin borders, a rounded outline and the
// right-aligned caption buttons of skin::kCaptionButtons.
class CSkinFrameWnd : public CFrameWndEx, public platform::IAccessibleCaption {
  DECLARE_DYNCREATE(CSkinFrameWnd)

 public:
  CSkinFrameWnd();
  ~CSkinFrameWnd() override;

  // Paints the whole non-client area. Whatever changes all of the caption calls
  // it directly; a button that changed repaints only itself.
  void OnNcPaint() override;

  // A disabled caption button ignores the pointer and is drawn in its disabled frame.
  void EnableCaptionButton(UINT id, BOOL enable);

  // The caption buttons for assistive technologies (skin_frame_input.cpp).
  std::vector<platform::AccessibleCaptionButton> AccessibleCaptionButtons() const override;
  void PressCaptionButton(UINT id) override;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct) override;
  void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp) override;
  void OnGetMinMaxInfo(MINMAXINFO* lpMMI) override;
  void OnSize(UINT nType, int cx, int cy) override;
  BOOL OnNcActivate(BOOL bActive) override;
  void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) override;
  void OnSysCommand(UINT nID, LPARAM lParam) override;

  // Non-client input (skin_frame_input.cpp).
  LRESULT OnNcHitTest(CPoint point) override;
  void OnNcMouseMove(UINT nHitTest, CPoint point) override;
  void OnNcMouseLeave() override;
  void OnNcLButtonDown(UINT nHitTest, CPoint point) override;
  void OnNcLButtonUp(UINT nHitTest, CPoint point) override;
  void OnNcLButtonDblClk(UINT nHitTest, CPoint point) override;

  // (0, 0, W, H): the window rectangle moved to the origin.
  CRect WindowRectAtOrigin() const;
  // Where everything is on the frame at its current size.
  skin::FrameLayout Layout() const;
  // Makes a fresh round rectangle in m_rgnWindow the window's shape.
  void ApplyWindowRegion();

  Gdiplus::Image* m_pBkImage = nullptr;
  // By id; each sits where the layout puts its row of skin::kCaptionButtons.
  std::map<UINT, CDUIButton> m_buttons;

 private:
  // The button under the pointer, 0 for none.
  UINT m_hoverId = 0;
  BOOL m_bTracking = FALSE;
  CRgn m_rgnWindow;
  std::vector<Gdiplus::Image*> m_captionImages;

  CPoint ScreenToWindow(CPoint point) const;
  // The button at a point in window coordinates, 0 for none.
  UINT ButtonAt(CPoint point) const;
  // The painter: the damaged part of the non-client area, off-screen, then one
  // copy of that part to the window.
  void PaintFrame(const CRect& damaged);
  // Repaints the button's rectangle, and nothing else, when its state changed.
  void RepaintIf(bool changed, const CDUIButton& button);
  // Takes hover and press off the hovered button; no button is hovered after.
  void ReleaseHoveredButton();
  // Sends the window command of a caption button's row.
  void SendButtonCommand(UINT sysCommand);
  // What a completed click on the button does; the close button destroys the
  // frame, so nothing may touch it afterwards.
  void ClickButton(UINT id);
  void PlaceCaptionButtons(const skin::FrameLayout& layout);
  void DrawBackground(Gdiplus::Graphics& graphics, int width, int height);
  // Draws the small icon, if the window has one; returns where the title starts.
  CPoint DrawSmallIcon(CDC& dc, const skin::FrameLayout& layout);
  void DrawTitle(Gdiplus::Graphics& graphics, CDC& windowDC, CPoint origin);
  void DrawButtons(Gdiplus::Graphics& graphics, CDC& windowDC);
};
