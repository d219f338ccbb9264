#pragma once

#include "platform/win_messages.h"

namespace platform {

// Width of the zone along each edge where a press starts a resize.
constexpr int kResizeBorderWidth = 4;
// Length of each corner's zone along both of its edges, so that diagonal resizing
// is easy to hit although the border itself is thin.
constexpr int kResizeCornerLength = 16;

// The window system's default hit-test for a frame whose own non-client area
// surrounds clientRect. Points are in window coordinates; windowSize is (W, H).
LRESULT DefaultFrameHitTest(SIZE windowSize, const RECT& clientRect, POINT point, bool resizable);

}  // namespace platform
