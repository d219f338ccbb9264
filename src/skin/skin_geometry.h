#pragma once

#include <array>

#include "platform/geometry.h"

// The skinned frame's fixed metrics and the rectangles derived from them, in
// window coordinates (origin at the window's top-left corner, non-client area
// included). No window is needed to compute them.
namespace skin {

constexpr int kCaptionHeight = 38;
constexpr int kBorderWidth = 3;
// Smaller windows would crowd the caption buttons into the title.
constexpr int kMinTrackWidth = 951;
constexpr int kMinTrackHeight = 681;
constexpr int kRegionCornerEllipse = 5;

constexpr int kIconLeft = 15;
constexpr int kIconTop = 11;
// The system-menu hot spot sits two pixels below the drawn icon.
constexpr int kIconHotSpotTop = 13;
constexpr int kTitleTop = 10;
constexpr int kTitleGapAfterIcon = 20;

// (3, 38, W - 3, H - 3): the window less the caption and the borders.
CRect ClientRectInWindow(int windowWidth, int windowHeight);

struct PixelRect {
  int x;
  int y;
  int width;
  int height;
};

// One piece of the non-client background: source pixels of the background
// image and where they go, scaled to fit or copied at their own size.
struct BackgroundPiece {
  PixelRect destination;
  PixelRect source;
  bool scaled;
};
constexpr size_t kBackgroundPieceCount = 8;
// In painting order: bottom edge, bottom corners, side edges, caption band,
// then the caption's two ends on top of the band.
std::array<BackgroundPiece, kBackgroundPieceCount> BackgroundPieces(int windowWidth,
                                                                    int windowHeight,
                                                                    int imageWidth,
                                                                    int imageHeight);

// Where the title starts: after the small icon, or at the icon's place without one.
int TitleLeft(bool hasIcon, int iconWidth);

}  // namespace skin
