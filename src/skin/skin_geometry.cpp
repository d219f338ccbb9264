#include "skin/skin_geometry.h"

namespace skin {

namespace {

// Left and right ends of the caption are drawn at their own size; the band
// between them stretches a thin slice taken just right of the left end.
constexpr int kCaptionEndWidth = 50;
constexpr int kCaptionSliceX = 50;
constexpr int kCaptionSliceWidth = 5;

}  // namespace

CRect ClientRectInWindow(int windowWidth, int windowHeight) {
  return CRect(kBorderWidth, kCaptionHeight, windowWidth - kBorderWidth,
               windowHeight - kBorderWidth);
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

int TitleLeft(bool hasIcon, int iconWidth) {
  return hasIcon ? iconWidth + kTitleGapAfterIcon : kIconLeft;
}

}  // namespace skin
