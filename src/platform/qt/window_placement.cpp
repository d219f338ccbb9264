#include "platform/qt/window_placement.h"

#include <algorithm>

namespace platform {

namespace {

// What a window that asks for the whole screen gets when it is not maximised.
constexpr qreal kDefaultShareOfWorkArea = 2.0 / 3.0;

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

QRect DefaultPlacement(const QSize& asked, const QRect& workArea, const QSize& minimum) {
  const QSize area = workArea.size();
  const QSize size = asked.width() < area.width() && asked.height() < area.height()
                         ? asked
                         : (area * kDefaultShareOfWorkArea)
                               .expandedTo(MinimumTrackSize(minimum, area))
                               .boundedTo(area);
  return QRect(workArea.topLeft() +
                   QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2),
               size);
}

void RestoredPlace::Moved(const QRect& geometry, bool restored, const QSize& maximisedSize) {
  if (!restored || geometry.size() == maximisedSize) return;
  m_place = m_followsPosition || !m_place.isValid() ? geometry
                                                    : QRect(m_place.topLeft(), geometry.size());
}

}  // namespace platform
