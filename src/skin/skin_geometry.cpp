#include "skin/skin_geometry.h"

namespace skin {

namespace {

// Left and right ends of the caption are drawn at their own size; the band
// between them stretches a thin slice taken just right of the left end.
constexpr int kCaptionEndWidth = 50;
constexpr int kCaptionSliceX = 50;
constexpr int kCaptionSliceWidth = 5;

constexpr int kIconLeft = 15;
constexpr int kIconTop = 11;
constexpr int kSystemMenuSpotBelowIcon = 2;
constexpr int kTitleTop = 10;
constexpr int kTitleGapAfterIcon = 5;

// One frame of a button's image strip.
constexpr int kButtonWidth = 20;
constexpr int kButtonHeight = 22;
// Centred in the caption: as much caption above the buttons as below.
constexpr int kButtonTop = (kCaptionHeight - kButtonHeight) / 2;

CRect PlacedButtonRect(const CaptionButton& button, int windowWidth) {
  const int right = windowWidth - button.rightInset;
  return CRect(right - kButtonWidth, kButtonTop, right, kButtonTop + kButtonHeight);
}

}  // namespace

CRect FrameLayout::Button(UINT id) const {
  for (size_t i = 0; i < kCaptionButtons.size(); ++i) {
    if (kCaptionButtons[i].id == id) return buttons[i];
  }
  return CRect();
}

UINT FrameLayout::ButtonAt(POINT p) const {
  for (size_t i = 0; i < kCaptionButtons.size(); ++i) {
    if (buttons[i].PtInRect(p)) return kCaptionButtons[i].id;
  }
  return 0;
}

FrameLayout LayoutFrame(SIZE window, SIZE smallIcon) {
  FrameLayout layout{};
  layout.window = window;
  layout.captionStrip = CRect(0, 0, window.cx, kCaptionHeight);
  layout.client =
      CRect(kBorderWidth, kCaptionHeight, window.cx - kBorderWidth, window.cy - kBorderWidth);
  layout.icon = CRect(kIconLeft, kIconTop, kIconLeft + smallIcon.cx, kIconTop + smallIcon.cy);
  layout.systemMenuSpot = layout.icon;
  layout.systemMenuSpot.OffsetRect(0, kSystemMenuSpotBelowIcon);
  layout.titleWithIcon = CPoint(layout.icon.right + kTitleGapAfterIcon, kTitleTop);
  layout.titleWithoutIcon = CPoint(kIconLeft, kTitleTop);
  for (size_t i = 0; i < kCaptionButtons.size(); ++i)
    layout.buttons[i] = PlacedButtonRect(kCaptionButtons[i], window.cx);
  return layout;
}

LRESULT HitTest(const FrameLayout& layout, POINT point, bool resizable) {
  const UINT id = layout.ButtonAt(point);
  if (id == 0) {
    if (layout.systemMenuSpot.PtInRect(point)) return HTSYSMENU;
  } else if (const CaptionButton* entry = FindCaptionButton(id)) {
    if (entry->hitCode != HTNOWHERE) return entry->hitCode;
  }
  return platform::DefaultFrameHitTest(layout.window, layout.client, point,
                                       resizable ? &layout.resize : nullptr);
}

std::array<BackgroundPiece, kBackgroundPieceCount> BackgroundPieces(int w, int h, int iw, int ih) {
  constexpr int C = kCaptionHeight;
  constexpr int B = kBorderWidth;
  constexpr int E = kCaptionEndWidth;
  return {{
      {{0, h - B, w, B}, {C, ih - B, B, B}, true},
      {{w - C, h - C, C, C}, {iw - C, ih - C, C, C}, true},
      {{0, h - C, C, C}, {0, ih - C, C, C}, true},
      {{0, C, B, h - 2 * C}, {0, C, B, B}, true},
      {{w - B, C, B, h - 2 * C}, {iw - B, C, B, B}, true},
      {{0, 0, w, C}, {kCaptionSliceX, 0, kCaptionSliceWidth, C}, true},
      {{0, 0, E, C}, {0, 0, E, C}, false},
      {{w - E, 0, E, C}, {iw - E, 0, E, C}, false},
  }};
}

}  // namespace skin
