#include <gtest/gtest.h>

#include <QList>
#include <QRect>
#include <QSize>

#include <ostream>
#include <vector>

#include "platform/qt/window_placement.h"

// For the failure messages; Qt's types live in the global namespace.
static std::ostream& operator<<(std::ostream& out, const QSize& size) {
  return out << size.width() << " x " << size.height();
}
static std::ostream& operator<<(std::ostream& out, const QRect& rect) {
  return out << "(" << rect.x() << ", " << rect.y() << ", " << rect.size() << ")";
}

namespace {

using platform::DefaultPlacement;
using platform::MinimumTrackSize;
using platform::RestoredPlacement;

// The skin's minimum tracking size, in logical pixels.
const QSize kSkinMinimum(951, 681);

// A screen's work area in logical pixels, from its size in device pixels and its scale.
QRect WorkArea(int left, int top, int deviceWidth, int deviceHeight, qreal scale) {
  return QRect(left, top, qRound(deviceWidth / scale), qRound(deviceHeight / scale));
}

TEST(WindowPlacement, MinimumNeverExceedsTheWorkArea) {
  const struct {
    QRect workArea;
    QSize minimum;
  } cases[] = {
      {WorkArea(0, 0, 1920, 1080, 1), kSkinMinimum},        // fits: the skin's minimum
      {WorkArea(0, 0, 1280, 800, 2), QSize(640, 400)},      // 640 x 400 logical
      {WorkArea(0, 0, 1920, 1080, 1.75), QSize(951, 617)},  // only the height is cut
      {WorkArea(0, 0, 2560, 1600, 2), kSkinMinimum},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MinimumTrackSize(kSkinMinimum, c.workArea.size()), c.minimum) << c.workArea.size();
}

TEST(WindowPlacement, SavedPlaceLandsWhollyInsideAWorkArea) {
  const QRect left = WorkArea(0, 0, 1920, 1080, 1);
  const QRect right = WorkArea(1920, 0, 2560, 1600, 2);  // 1280 x 800 logical
  const QRect small = WorkArea(0, 0, 1280, 800, 2);      // 640 x 400 logical
  const struct {
    const char* what;
    QList<QRect> screens;
    QRect start;
    QRect saved;
    QRect placed;
  } cases[] = {
      {"on its screen: kept", {left, right}, left, {100, 80, 1000, 700}, {100, 80, 1000, 700}},
      {"on the second screen: kept there",
       {left, right},
       left,
       {2000, 50, 1000, 700},
       {2000, 50, 1000, 700}},
      {"across both: on the one it covers most",
       {left, right},
       left,
       {1500, 100, 1000, 700},
       {1920, 100, 1000, 700}},
      {"half off the bottom: moved up", {left}, left, {100, 800, 1000, 700}, {100, 380, 1000, 700}},
      {"off every screen: inside the start screen",
       {left},
       left,
       {5000, -4000, 1000, 700},
       {920, 0, 1000, 700}},
      {"its screen gone: on the start screen",
       {left},
       left,
       {2000, 50, 1000, 700},
       {920, 50, 1000, 700}},
      {"larger than the screen: the screen", {left}, left, {-50, -50, 4000, 3000}, left},
      {"smaller than the minimum: the minimum",
       {left},
       left,
       {10, 10, 300, 200},
       {10, 10, 951, 681}},
      {"dense small screen: the work area at most", {small}, small, {100, 80, 1000, 700}, small},
      // There the minimum is the work area itself.
      {"dense small screen, small place: the work area", {small}, small, {20, 30, 500, 300}, small},
  };
  for (const auto& c : cases)
    EXPECT_EQ(RestoredPlacement(c.saved, c.screens, c.start, kSkinMinimum), c.placed) << c.what;
}

TEST(WindowPlacement, NoRectangleMeansNoSavedPlace) {
  const QRect screen = WorkArea(0, 0, 1920, 1080, 1);
  for (const QRect& saved : {QRect(), QRect(10, 10, -5, 40), QRect(10, 10, 0, 0)})
    EXPECT_TRUE(RestoredPlacement(saved, {screen}, screen, kSkinMinimum).isNull()) << saved;
}

TEST(WindowPlacement, DefaultPlaceIsCentredAndSmallerThanTheWorkArea) {
  const struct {
    QRect workArea;
    QSize asked;
    QRect placed;
  } cases[] = {
      // Asked for more than the screen: two thirds of it.
      {WorkArea(0, 0, 1920, 1080, 1), {3500, 2500}, {320, 180, 1280, 720}},
      {WorkArea(0, 0, 1920, 1080, 1), {1920, 1080}, {320, 180, 1280, 720}},
      // Two thirds would be below the minimum: the minimum.
      {WorkArea(0, 0, 1280, 1024, 1), {3500, 2500}, {164, 170, 951, 683}},
      // A dense small screen: no more than the work area.
      {WorkArea(0, 0, 1280, 800, 2), {3500, 2500}, {0, 0, 640, 400}},
      // A window asking for less than the screen gets what it asks.
      {WorkArea(100, 0, 1920, 1080, 1), {1000, 700}, {560, 190, 1000, 700}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DefaultPlacement(c.asked, c.workArea, kSkinMinimum), c.placed) << c.workArea;
}

// What the window system reports as a window is maximised and moved, in the orders
// seen from window managers: the state before or after the geometry, a geometry in
// one step or in two (size, then position).
TEST(WindowPlacement, RestoredPlaceIsTheLastPlaceOfTheRestoredWindow) {
  const QRect start(320, 180, 1280, 720), moved(100, 80, 1000, 700);
  const QRect workArea(0, 0, 1920, 1080);
  const QRect maximisedInPlace(100, 80, 1920, 1080);  // resized first, not moved yet
  struct Report {
    QRect geometry;
    bool restored;
  };
  const struct {
    const char* what;
    std::vector<Report> reports;
  } cases[] = {
      {"state first", {{moved, false}, {maximisedInPlace, false}, {workArea, false}}},
      {"maximised size first", {{workArea, true}, {workArea, false}}},
      {"maximised size first in two steps", {{maximisedInPlace, true}, {workArea, true}}},
      {"minimised and parked off the screen", {{QRect(-32000, -32000, 160, 28), false}}},
  };
  for (const auto& c : cases) {
    platform::RestoredPlace place;
    place.Set(start);  // shown maximised from there
    place.Moved(workArea, false, workArea.size());
    // Restored by the window system, then moved and resized: size, then position.
    place.Moved(QRect(workArea.topLeft(), start.size()), true, workArea.size());
    place.Moved(start, true, workArea.size());
    place.Moved(QRect(start.topLeft(), moved.size()), true, workArea.size());
    place.Moved(moved, true, workArea.size());
    for (const Report& report : c.reports)
      place.Moved(report.geometry, report.restored, workArea.size());
    EXPECT_EQ(place.Place(start), moved) << c.what;
  }
}

TEST(WindowPlacement, RestoredPlaceFallsBackUntilTheWindowHasOne) {
  const QRect fallback(10, 20, 1000, 700), workArea(0, 0, 1920, 1080);
  platform::RestoredPlace place;
  EXPECT_EQ(place.Place(fallback), fallback);
  place.Moved(workArea, false, workArea.size());
  EXPECT_EQ(place.Place(fallback), fallback) << "maximised is no restored place";
  place.Set(QRect(5, 5, 800, 600));
  EXPECT_EQ(place.Place(fallback), QRect(5, 5, 800, 600));
}

TEST(WindowPlacement, WhereTheCompositorPlacesWindowsOnlyTheSizeIsFollowed) {
  const QRect given(300, 200, 1000, 700), workArea(0, 0, 1600, 968);
  platform::RestoredPlace place(/*followsPosition=*/false);
  // The toolkit reports a position the compositor never told it.
  place.Moved(QRect(0, 0, 1067, 681), true, workArea.size());
  EXPECT_EQ(place.Place(given), QRect(0, 0, 1067, 681)) << "no position given: what there is";
  place.Set(given);
  place.Moved(QRect(0, 0, 1067, 681), true, workArea.size());
  place.Moved(QRect(0, 0, 1600, 968), false, workArea.size());
  EXPECT_EQ(place.Place(given), QRect(300, 200, 1067, 681));
}

}  // namespace
