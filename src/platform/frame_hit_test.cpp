#include "platform/frame_hit_test.h"

namespace platform {
namespace {

// 0 near the low edge, 2 near the high edge, 1 between; a point within the corner
// length of an end counts for that end once it lies in a resize zone at all.
int Band(int pos, int extent, int zone) {
  if (pos < zone) return 0;
  if (pos >= extent - zone) return 2;
  return 1;
}

constexpr LRESULT kResizeCodes[3][3] = {
    {HTTOPLEFT, HTTOP, HTTOPRIGHT},
    {HTLEFT, HTNOWHERE, HTRIGHT},
    {HTBOTTOMLEFT, HTBOTTOM, HTBOTTOMRIGHT},
};

}  // namespace

LRESULT DefaultFrameHitTest(SIZE windowSize, const RECT& clientRect, POINT point,
                            const ResizeZones* zones) {
  const int w = windowSize.cx;
  const int h = windowSize.cy;
  if (point.x < 0 || point.y < 0 || point.x >= w || point.y >= h) return HTNOWHERE;
  if (point.x >= clientRect.left && point.x < clientRect.right && point.y >= clientRect.top &&
      point.y < clientRect.bottom) {
    return HTCLIENT;
  }
  if (zones) {
    const int col = Band(point.x, w, zones->edge);
    const int row = Band(point.y, h, zones->edge);
    if (col != 1 || row != 1) {
      const int cornerCol = Band(point.x, w, zones->corner);
      const int cornerRow = Band(point.y, h, zones->corner);
      return kResizeCodes[row != 1 ? row : cornerRow][col != 1 ? col : cornerCol];
    }
  }
  return point.y < clientRect.top ? HTCAPTION : HTNOWHERE;
}

}  // namespace platform
