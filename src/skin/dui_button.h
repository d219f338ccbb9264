#pragma once

#include "platform/cstring.h"
#include "platform/gdiplus.h"
#include "platform/geometry.h"

class CWnd;

// A window-less caption button: a rectangle in its owner's window coordinates,
// its state, an image strip with one frame per state (normal, hover, pressed,
// disabled, left to right), an optional icon and label, and the command it
// posts to its owner when a click completes.
class CDUIButton {
 public:
  CDUIButton() = default;
  CDUIButton(const CDUIButton&) = default;
  CDUIButton& operator=(const CDUIButton&) = default;
  virtual ~CDUIButton() = default;

  // Paints the frame the state selects, then the icon and the label.
  virtual void Draw(Gdiplus::Graphics* graphics);
  // Completes a click begun on the button: posts WM_COMMAND m_nID to the owner.
  void FireClick();

  // The owner reports the pointer through these. A disabled button ignores
  // them all; each returns whether the state changed, so the owner repaints
  // only on a change.
  bool Hover();  // the pointer came onto the button
  bool Press();  // the left button went down, or double-clicked, on it
  bool Leave();  // the pointer went elsewhere: hover and press both end
  bool SetDisabled(bool disabled);

  bool IsHovered() const { return m_bHover; }
  bool IsPressed() const { return m_bPressed; }
  bool IsDisabled() const { return m_bDisabled; }
  bool IsToggled() const { return m_bToggled; }

  // The strip frame for the current state: disabled, pressed, hover, normal, in
  // that order of precedence, limited to the frames the strip has.
  UINT FrameIndex() const;
  // Moves the button; its icon keeps its place relative to the button.
  void MoveTo(const RECT& rect);

  CRect m_rect;
  Gdiplus::Image* m_pImage = nullptr;
  UINT m_nFrameCount = 0;
  Gdiplus::Image* m_pIcon = nullptr;
  CPoint m_ptIcon;
  UINT m_nID = 0;
  CWnd* m_pOwner = nullptr;
  CString m_strText;

 private:
  bool m_bHover = false;
  bool m_bPressed = false;
  bool m_bDisabled = false;
  bool m_bToggled = false;

  void DrawFrame(Gdiplus::Graphics& graphics) const;
  void DrawLabel(Gdiplus::Graphics& graphics, const Gdiplus::RectF& layout,
                 const Gdiplus::StringFormat& format) const;
};
