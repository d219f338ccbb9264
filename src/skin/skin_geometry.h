#pragma once

#include <array>

#include "platform/frame_hit_test.h"
#include "platform/geometry.h"
#include "skin/caption_buttons.h"

// The skinned frame's fixed metrics and the layout derived from them, in window
// coordinates (origin at the window's top-left corner, non-client area
// included). No window is needed to compute them.
namespace skin {

constexpr int kCaptionHeight = 38;
constexpr int kBorderWidth = 3;
// Smaller windows would crowd the caption buttons into the title.
constexpr int kMinTrackWidth = 951;
constexpr int kMinTrackHeight = 681;
constexpr int kRegionCornerEllipse = 5;

// Everything the frame draws, hit-tests and names, for one window size: painting,
// input, accessibility and tests all read this one layout.
struct FrameLayout {
  SIZE window;
  // The whole top of the window: a double-click anywhere on it maximises.
  CRect captionStrip;
  // The window less the caption and the borders.
  CRect client;
  // Where the small icon is drawn.
  CRect icon;
  // Where a press opens the system menu: the icon's place, two pixels lower.
  CRect systemMenuSpot;
  // Where the title starts, after the icon or in its place without one.
  CPoint titleWithIcon;
  CPoint titleWithoutIcon;
  // One per row of kCaptionButtons, in its order.
  std::array<CRect, kCaptionButtons.size()> buttons;
  platform::ResizeZones resize;

  // The button with id, or an empty rectangle for an id the table does not know.
  CRect Button(UINT id) const;
  // The id of the caption button at p, 0 where there is none.
  UINT ButtonAt(POINT p) const;
};

// The layout of a window of size window whose small icon is smallIcon.
FrameLayout LayoutFrame(SIZE window, SIZE smallIcon);

// What the point is to the window system: a caption button's code, the system
// menu over the icon, else the default frame's answer (caption, borders, client).
// A button whose row has no code of its own (the about button) is caption.
LRESULT HitTest(const FrameLayout& layout, POINT point, bool resizable);

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

}  // namespace skin
