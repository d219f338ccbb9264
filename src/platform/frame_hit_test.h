#pragma once

#include "platform/win_messages.h"

namespace platform {

// Where a press starts a resize, measured from the window's edges.
struct ResizeZones {
  // The window system's own sizing border. The client area is tested before the
  // zones, so beside a client area the zone is only the frame's border (3 pixels
  // on the skinned frame); across a caption, which has no client area beneath it,
  // the whole band applies, so the top edge is as easy to grab as on any window.
  int edge = 4;
  // Length of each corner's zone along both of its edges, so that diagonal
  // resizing is easy to hit although the border itself is thin.
  int corner = 16;
};

// The window system's default hit-test for a frame whose own non-client area
// surrounds clientRect. Points are in window coordinates; windowSize is (W, H).
// A window that cannot be resized now (not sizable, maximised or minimised) passes
// no zones.
LRESULT DefaultFrameHitTest(SIZE windowSize, const RECT& clientRect, POINT point,
                            const ResizeZones* zones);

}  // namespace platform
