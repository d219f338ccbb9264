#pragma once

#include <array>

#include "platform/geometry.h"
#include "platform/translatable.h"
#include "platform/win_messages.h"

// The caption buttons of the skinned frame, one row each: everything the frame
// needs to create, place, hit-test and click them.
namespace skin {

constexpr UINT kAboutButtonId = 10;
constexpr UINT kCloseButtonId = 110;
constexpr UINT kMaximizeButtonId = 111;
constexpr UINT kMinimizeButtonId = 112;

struct CaptionButton {
  UINT id;
  // Skin image name: a strip of three frames (normal, hover, pressed).
  const wchar_t* image;
  // From the button's right edge to the window's right edge: one button's width
  // and a 2-pixel gap apart, the close button clear of the caption's rounded end.
  int rightInset;
  // What the window system is told the button is; HTNOWHERE leaves the point
  // to the frame's default hit-test.
  LRESULT hitCode;
  // The window command a release over the button sends; 0 completes a click
  // that posts the button's id as a command instead.
  UINT sysCommand;
  // What assistive technologies call the button, and what they call it while
  // the window is maximised.
  platform::TranslatableText name;
  platform::TranslatableText nameWhenMaximized;
};

// In creation order; right to left on the caption.
constexpr std::array<CaptionButton, 4> kCaptionButtons = {{
    {kCloseButtonId, L"dialog\\dlg_close_btn.bmp", 10, HTCLOSE, SC_CLOSE,
     TRANSLATABLE("CaptionButton", "Close"), TRANSLATABLE("CaptionButton", "Close")},
    {kMaximizeButtonId, L"dialog\\dlg_maxmize_button.bmp", 32, HTMAXBUTTON, SC_MAXIMIZE,
     TRANSLATABLE("CaptionButton", "Maximize"), TRANSLATABLE("CaptionButton", "Restore")},
    {kMinimizeButtonId, L"dialog\\dlg_minimize_button.bmp", 54, HTMINBUTTON, SC_MINIMIZE,
     TRANSLATABLE("CaptionButton", "Minimize"), TRANSLATABLE("CaptionButton", "Minimize")},
    {kAboutButtonId, L"Button.png", 76, HTNOWHERE, 0, TRANSLATABLE("CaptionButton", "About"),
     TRANSLATABLE("CaptionButton", "About")},
}};

// The row for id, or null for a button the table does not know.
const CaptionButton* FindCaptionButton(UINT id);

}  // namespace skin
