#pragma once

#include <QList>
#include <QRect>
#include <QSize>

namespace platform {

// The smallest size a window may take: what its owner asks, but never more than
// the work area of its screen, so that a maximised window fits the screen.
QSize MinimumTrackSize(const QSize& asked, const QSize& workArea);

// Where a window goes when it is restored to a saved place (logical pixels): on
// the work area that the saved rectangle overlaps most, or on startWorkArea when
// it overlaps none (a screen gone, a place off every screen); no larger than that
// work area, no smaller than minimum within it, and wholly inside it. Null when
// saved is no rectangle at all: the window keeps its default place.
QRect RestoredPlacement(const QRect& saved, const QList<QRect>& workAreas,
                        const QRect& startWorkArea, const QSize& minimum);

}  // namespace platform
