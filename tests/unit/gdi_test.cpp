#include <gtest/gtest.h>

#include <QBackingStore>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QIcon>
#include <QPixmap>
#include <QWindow>

#include "platform/gdi.h"
#include "platform/qt/icon.h"
#include "platform/qt/window_host.h"
#include "platform/wnd.h"
#include "skin_test_support.h"

namespace {

using skin_test::Canvas;

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kBlue = 0xFF0000FF;

TEST(RoundRectRegion, CornersFollowTheEllipseAndFarEdgesAreExclusive) {
  CRgn region;
  ASSERT_TRUE(region.CreateRoundRectRgn(0, 0, 11, 9, 5, 5));
  CRect box;
  EXPECT_EQ(COMPLEXREGION, region.GetRgnBox(&box));
  EXPECT_EQ(CRect(0, 0, 11, 9), box);

  struct Probe {
    int x, y;
    bool inside;
  };
  const Probe probes[] = {
      {0, 0, false},  {1, 0, false}, {2, 0, true},   {0, 1, false},  {1, 1, true},   {0, 2, true},
      {10, 0, false}, {8, 0, true},  {9, 1, true},   {10, 1, false}, {0, 8, false},  {10, 8, false},
      {10, 6, true},  {5, 4, true},  {11, 4, false}, {5, 9, false},  {-1, 4, false},
  };
  for (const Probe& p : probes)
    EXPECT_EQ(p.inside, bool(region.PtInRegion(p.x, p.y))) << p.x << "," << p.y;
}

TEST(RoundRectRegion, WithoutAnEllipseIsTheRectangle) {
  CRgn region;
  region.CreateRoundRectRgn(2, 3, 6, 5, 0, 0);
  CRect box;
  EXPECT_EQ(SIMPLEREGION, region.GetRgnBox(&box));
  EXPECT_EQ(CRect(2, 3, 6, 5), box);
  EXPECT_TRUE(region.PtInRegion(2, 3));
  EXPECT_FALSE(region.PtInRegion(6, 4));
}

TEST(DeviceContext, BlockCopyWritesOnlyInsideTheClipRegion) {
  Canvas source(10, 10, kRed);
  Canvas destination(10, 10, kBlack);
  EXPECT_EQ(COMPLEXREGION, destination.dc().ExcludeClipRect(2, 2, 8, 8));
  CRect clipBox;
  destination.dc().GetClipBox(&clipBox);
  EXPECT_EQ(CRect(0, 0, 10, 10), clipBox);

  ASSERT_TRUE(destination.dc().BitBlt(0, 0, 10, 10, &source.dc(), 0, 0, SRCCOPY));
  EXPECT_EQ(kRed, destination.pixel(1, 1));
  EXPECT_EQ(kRed, destination.pixel(8, 8));
  EXPECT_EQ(kBlack, destination.pixel(2, 2));
  EXPECT_EQ(kBlack, destination.pixel(7, 7));
}

TEST(DeviceContext, BlockCopyTakesTheSourceOffsetAndStaysInsideBothBitmaps) {
  Canvas source(4, 4, kRed);
  source.image().setPixel(3, 3, kBlue);
  Canvas destination(10, 10, kBlack);
  ASSERT_TRUE(destination.dc().BitBlt(5, 5, 10, 10, &source.dc(), 3, 3, SRCCOPY));
  EXPECT_EQ(kBlue, destination.pixel(5, 5));
  EXPECT_EQ(kBlack, destination.pixel(6, 6));  // past the source's last pixel
  EXPECT_EQ(kBlack, destination.pixel(4, 4));
}

TEST(DeviceContext, ClipRemovalAndUnsupportedOperations) {
  Canvas source(4, 4, kRed);
  Canvas destination(4, 4, kBlack);
  destination.dc().ExcludeClipRect(0, 0, 4, 4);
  CRect clipBox;
  EXPECT_EQ(NULLREGION, destination.dc().GetClipBox(&clipBox));
  EXPECT_TRUE(clipBox.IsRectEmpty());
  destination.dc().SelectClipRgn(nullptr);
  EXPECT_EQ(SIMPLEREGION, destination.dc().GetClipBox(&clipBox));
  EXPECT_EQ(CRect(0, 0, 4, 4), clipBox);

  constexpr DWORD kPatternCopy = 0x00F00021;
  EXPECT_FALSE(destination.dc().BitBlt(0, 0, 4, 4, &source.dc(), 0, 0, kPatternCopy));
  EXPECT_FALSE(destination.dc().BitBlt(0, 0, 4, 4, nullptr, 0, 0, SRCCOPY));
  EXPECT_EQ(kBlack, destination.pixel(0, 0));
}

TEST(DeviceContext, ABitmapBelongsToOneContextAtATime) {
  CDC first;
  CDC second;
  first.CreateCompatibleDC(nullptr);
  second.CreateCompatibleDC(nullptr);
  CBitmap bitmap;
  ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&first, 8, 8));
  EXPECT_EQ(nullptr, first.SelectObject(&bitmap));  // the stock bitmap was in
  EXPECT_EQ(nullptr, second.SelectObject(&bitmap));
  EXPECT_FALSE(bitmap.DeleteObject());
  EXPECT_EQ(&bitmap, first.SelectObject(nullptr));
  EXPECT_TRUE(bitmap.DeleteObject());
  EXPECT_FALSE(bitmap.CreateCompatibleBitmap(&first, 0, 8));
}

TEST(DeviceContext, IconIsScaledAndClipped) {
  QPixmap pixmap(32, 32);
  pixmap.fill(QColor::fromRgba(kRed));
  const HICON icon = platform::HandleFromIcon(QIcon(pixmap));
  Canvas canvas(24, 24, kBlack);
  canvas.dc().ExcludeClipRect(0, 0, 8, 24);
  ASSERT_TRUE(DrawIconEx(canvas.dc(), 4, 4, icon, 16, 16, 0, nullptr, DI_NORMAL));
  EXPECT_EQ(kBlack, canvas.pixel(7, 10));
  EXPECT_EQ(kRed, canvas.pixel(8, 10));
  EXPECT_EQ(kRed, canvas.pixel(19, 19));
  EXPECT_EQ(kBlack, canvas.pixel(20, 20));
  EXPECT_FALSE(DrawIconEx(canvas.dc(), 0, 0, nullptr, 16, 16, 0, nullptr, DI_NORMAL));
}

// A window with a frame of kFrame pixels all round.
class FramedWindowBase : public CWnd {
 public:
  static constexpr int kFrame = 5;

  void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp) override {
    if (!bCalcValidRects || !lpncsp) return;
    RECT& client = lpncsp->rgrc[0];
    client = RECT{client.left + kFrame, client.top + kFrame, client.right - kFrame,
                  client.bottom - kFrame};
  }
};

// A framed window whose owner marks its frame red at the top-left or leaves it alone.
class FramedWindow : public FramedWindowBase {
 public:
  explicit FramedWindow(bool drawsMark) : m_drawsMark(drawsMark) {}

  void OnNcPaint() override {
    CDC* dc = m_drawsMark ? GetWindowDC() : nullptr;
    if (!dc) return;
    Canvas mark(kFrame, kFrame, kRed);
    dc->BitBlt(0, 0, kFrame, kFrame, &mark.dc(), 0, 0, SRCCOPY);
    ReleaseDC(dc);
  }

 private:
  const bool m_drawsMark;
};

TEST(WindowSurface, AFrameIsTheWindowColourWhereItsOwnerDrawsNothing) {
  for (const bool drawsMark : {false, true}) {
    FramedWindow window(drawsMark);
    ASSERT_TRUE(window.CreateEx(0, nullptr, L"framed", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                100, nullptr, 0));
    platform::WindowHost* host = window.host();
    const QImage shown = host->grab().toImage();
    const QRgb background = host->palette().window().color().rgba();
    EXPECT_EQ(drawsMark ? kRed : background, shown.pixel(1, 1)) << drawsMark;
    for (const QPoint p : {QPoint(100, 1), QPoint(198, 50), QPoint(100, 98), QPoint(1, 50)})
      EXPECT_EQ(background, shown.pixel(p)) << drawsMark << " at " << p.x() << "," << p.y();
    // Only a frame that is drawn needs a window-sized buffer behind it.
    EXPECT_EQ(drawsMark, host->surface().holds());
    window.DestroyWindow();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

// A window with a frame all round that it paints in one colour, the way a skinned
// frame does: whole, through a window-sized bitmap, on every WM_NCPAINT.
class OneColourFrame : public FramedWindowBase {
 public:
  void OnNcPaint() override {
    CDC* dc = GetWindowDC();
    if (!dc) return;
    ++m_paints;
    CRect window;
    GetWindowRect(&window);
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(dc, window.Width(), window.Height());
    bitmap.GetSafeHandle()->image.fill(m_colour);
    CBitmap* previous = memory.SelectObject(&bitmap);
    dc->BitBlt(0, 0, window.Width(), window.Height(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(previous);
    ReleaseDC(dc);
  }

  QRgb m_colour = kRed;
  int m_paints = 0;
};

void WaitUntilExposed(QWidget& widget) {
  QElapsedTimer waited;
  waited.start();
  while (!(widget.windowHandle() && widget.windowHandle()->isExposed()) && waited.elapsed() < 5000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  QCoreApplication::processEvents();
}

// The pixel the screen shows at a logical point of a window: the offscreen
// platform's screen is the window's backing store.
QRgb ShownPixel(QWidget& window, QPoint logical) {
  QPaintDevice* device = window.backingStore()->paintDevice();
  EXPECT_EQ(QInternal::Image, device->devType());
  const QImage& shown = *static_cast<QImage*>(device);
  const qreal ratio = qreal(shown.width()) / window.width();
  return shown.pixel(int((logical.x() + 0.5) * ratio), int((logical.y() + 0.5) * ratio));
}

TEST(WindowSurface, AFrameRedrawnOutsideAPaintReachesTheScreenWhereverItChanged) {
  OneColourFrame window;
  ASSERT_TRUE(window.CreateEx(0, nullptr, L"framed", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                              100, nullptr, 0));
  platform::WindowHost* host = window.host();
  WaitUntilExposed(*host);
  ASSERT_EQ(kRed, ShownPixel(*host, QPoint(1, 1)));

  window.m_colour = kBlue;
  window.SendMessage(WM_NCPAINT, 1, 0);
  EXPECT_EQ(kBlue, ShownPixel(*host, QPoint(1, 1)));
  EXPECT_EQ(kBlue, ShownPixel(*host, QPoint(198, 98)));

  // A new surface starts in the window's colour, which is not what the screen
  // shows: a frame drawn in that colour must still reach the screen.
  host->surface().release();
  window.m_colour = host->palette().window().color().rgba();
  window.SendMessage(WM_NCPAINT, 1, 0);
  EXPECT_EQ(window.m_colour, ShownPixel(*host, QPoint(1, 1)));
  EXPECT_EQ(window.m_colour, ShownPixel(*host, QPoint(100, 98)));
  window.DestroyWindow();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(WindowSurface, UpdateWindowDrawsTheFrameAtOnceAndItsFirstPaintDoesNotAgain) {
  OneColourFrame window;
  ASSERT_TRUE(
      window.CreateEx(0, nullptr, L"framed", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, 0));
  EXPECT_EQ(0, window.m_paints);  // a hidden window draws nothing
  window.ShowWindow(SW_SHOW);
  window.UpdateWindow();
  EXPECT_EQ(1, window.m_paints);
  WaitUntilExposed(*window.host());
  EXPECT_EQ(1, window.m_paints);
  EXPECT_EQ(kRed, ShownPixel(*window.host(), QPoint(1, 1)));
  window.DestroyWindow();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace
