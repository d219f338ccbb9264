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

// The place of a window with no saved place, centred in the work area: its asked
// size when that is smaller than the work area; else (a window that asks for the
// whole screen) two thirds of the work area, no smaller than minimum within it,
// so that restoring a maximised window shows a smaller one.
QRect DefaultPlacement(const QSize& asked, const QRect& workArea, const QSize& minimum);

// The place a window last had while it was neither maximised nor minimised. The
// toolkit forgets it when the window system maximises the window. Window managers
// report a change of state and the geometry that goes with it in either order, and
// a move or resize in one or two steps; so a geometry that has the maximised size
// counts as the maximised window's own, whatever the state says.
class RestoredPlace {
 public:
  // followsPosition false: under a compositor that places windows itself the toolkit
  // never learns where the window is, so only the size is followed and the place
  // keeps the position it was given.
  explicit RestoredPlace(bool followsPosition = true) : m_followsPosition(followsPosition) {}
  // The window is put there as a restored window by its owner.
  void Set(const QRect& place) { m_place = place; }
  // The window now has geometry; restored: it is neither maximised nor minimised;
  // maximisedSize: the size it has when maximised.
  void Moved(const QRect& geometry, bool restored, const QSize& maximisedSize);
  // The place, or fallback when the window has not been restored and moved yet.
  QRect Place(const QRect& fallback) const { return m_place.isValid() ? m_place : fallback; }

 private:
  bool m_followsPosition;
  QRect m_place;
};

}  // namespace platform
