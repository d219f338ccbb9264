#include "platform/qt/window_placement.h"

#include <algorithm>

namespace platform {

namespace {

qint64 Area(const QRect& rect) { return rect.isEmpty() ? 0 : qint64(rect.width()) * rect.height(); }

QRect HomeWorkArea(const QRect& saved, const QList<QRect>& workAreas, const QRect& startWorkArea) {
  QRect home = startWorkArea;
  qint64 largestOverlap = 0;
  for (const QRect& workArea : workAreas) {
    const qint64 overlap = Area(saved & workArea);
    if (overlap > largestOverlap) {
      largestOverlap = overlap;
      home = workArea;
    }
  }
  return home;
}

int Within(int start, int length, int areaStart, int areaLength) {
  return std::clamp(start, areaStart, areaStart + areaLength - length);
}

}  // namespace

QSize MinimumTrackSize(const QSize& asked, const QSize& workArea) {
  return workArea.isEmpty() ? asked : asked.boundedTo(workArea);
}

QRect RestoredPlacement(const QRect& saved, const QList<QRect>& workAreas,
                        const QRect& startWorkArea, const QSize& minimum) {
  if (saved.isEmpty()) return QRect();
  const QRect home = HomeWorkArea(saved, workAreas, startWorkArea);
  if (home.isEmpty()) return QRect();
  const QSize size =
      saved.size().expandedTo(MinimumTrackSize(minimum, home.size())).boundedTo(home.size());
  return QRect(QPoint(Within(saved.x(), size.width(), home.x(), home.width()),
                      Within(saved.y(), size.height(), home.y(), home.height())),
               size);
}

}  // namespace platform
