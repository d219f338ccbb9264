// The skinned frame on a dense screen. These tests read the window's device pixel
// ratio and hold at any; ctest also runs them at 1.25, 1.5, 1.75 and 2
// (QT_SCALE_FACTOR), where they say something.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <set>

#include "platform/qt/device_pixels.h"
#include "platform/qt/window_host.h"
#include "skin/caption_buttons.h"
#include "skin/skin_frame_wnd.h"
#include "skin/skin_geometry.h"
#include "skin/skin_image_store.h"
#include "skin_test_support.h"

namespace {

constexpr QRgb kSentinel = 0xFF00FF00;
constexpr QRgb kCaption = 0xFF263238;
constexpr QRgb kBorder = 0xFF37474F;
constexpr QRgb kCloseOneTimes = 0xFF800000;
constexpr QRgb kCloseHoverOneTimes = 0xFFA00000;
constexpr QRgb kMinimizeFrames[] = {0xFF000080, 0xFF0000A0, 0xFF0000A0};
// The close button's normal frame at twice the density: one-pixel checks.
constexpr QRgb kCloseChecks[] = {0xFFC00000, 0xFFE06060};
constexpr QRgb kCloseHoverDense = 0xFFFF4040;
constexpr int kWidth = 1000;
constexpr int kHeight = 700;
constexpr QRect kCloseRect(970, 8, 20, 22);
constexpr QRect kMinimizeRect(926, 8, 20, 22);

// A background of one caption colour and one border colour.
QImage Background(int scale) {
  QImage image(160 * scale, 120 * scale, QImage::Format_RGB32);
  image.fill(kBorder);
  for (int y = 0; y < skin::kCaptionHeight * scale; ++y)
    for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, kCaption);
  return image;
}

QImage DenseCloseStrip() {
  QImage strip(120, 44, QImage::Format_RGB32);
  strip.fill(kCloseHoverDense);
  for (int y = 0; y < 44; ++y)
    for (int x = 0; x < 40; ++x) strip.setPixel(x, y, kCloseChecks[(x + y) % 2]);
  return strip;
}

class DeviceScaleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const QDir root(m_skin.path());
    skin_test::SaveImage(root, "dialog\\DialogBkg.png", Background(1));
    skin_test::SaveImage(root, "dialog\\DialogBkg@2x.png", Background(2));
    skin_test::SaveImage(
        root, "dialog\\dlg_close_btn.bmp",
        skin_test::Strip({kCloseOneTimes, kCloseHoverOneTimes, kCloseOneTimes}, 20, 22), "BMP");
    skin_test::SaveImage(
        root, "dialog\\dlg_minimize_button.bmp",
        skin_test::Strip({kMinimizeFrames[0], kMinimizeFrames[1], kMinimizeFrames[2]}, 20, 22),
        "BMP");
    skin_test::SaveImage(root, "dialog\\dlg_close_btn@2x.bmp", DenseCloseStrip(), "BMP");
    CSkinImageStore::DestroyInstance();
    CSkinImageStore::GetInstance()->m_strSkinRoot = CString(skin_test::Wide(m_skin.path() + "/"));
    m_frame = new CSkinFrameWnd;
    ASSERT_TRUE(m_frame->CreateEx(0, nullptr, L"scaled", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  kWidth, kHeight, nullptr, 0));
    m_ratio = m_frame->host()->devicePixelRatioF();
  }

  void TearDown() override {
    m_frame->DestroyWindow();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    CSkinImageStore::DestroyInstance();
  }

  QImage& Surface() { return m_frame->host()->surface().pixels(); }

  void Paint() {
    Surface().fill(kSentinel);
    m_frame->OnNcPaint();
  }

  QRect Device(const QRect& logical) const { return platform::DeviceRect(logical, m_ratio); }

  // The pointer on device column x, 19 logical rows down, as the window system reports it.
  void PointerOnDeviceColumn(int x) {
    QWidget& host = *m_frame->host();
    const QPointF local(x / m_ratio, 19.0);
    QMouseEvent move(QEvent::MouseMove, local, host.mapToGlobal(local), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&host, &move);
  }

  QTemporaryDir m_skin;
  CSkinFrameWnd* m_frame = nullptr;
  qreal m_ratio = 1;
};

TEST_F(DeviceScaleTest, TheNonClientSurfaceHoldsDevicePixels) {
  EXPECT_EQ(platform::DeviceSize(QSize(kWidth, kHeight), m_ratio), Surface().size());
  EXPECT_EQ(m_ratio, Surface().devicePixelRatio());
}

TEST_F(DeviceScaleTest, NoSeamAndNothingInTheClientArea) {
  Paint();
  const CRect c = skin::LayoutFrame(SIZE{kWidth, kHeight}, SIZE{16, 16}).client;
  const QRect client(c.left, c.top, c.Width(), c.Height());
  const QRegion nonClient = QRegion(0, 0, kWidth, kHeight) - client;
  for (const QRect& rect : platform::DeviceRegion(nonClient, m_ratio))
    for (int y = rect.top(); y <= rect.bottom(); ++y)
      for (int x = rect.left(); x <= rect.right(); ++x) {
        const QRgb pixel = Surface().pixel(x, y);
        ASSERT_NE(kSentinel, pixel) << "unpainted at " << x << "," << y;
        ASSERT_NE(0xFF000000, pixel) << "a gap in the off-screen bitmap at " << x << "," << y;
      }
  EXPECT_TRUE(skin_test::AllPixels(Surface(), Device(client), kSentinel));
  // The border's inner edge and the caption's bottom row sit exactly at the client area.
  const QRect device = Device(client);
  EXPECT_EQ(kBorder, Surface().pixel(device.left() - 1, device.center().y()));
  EXPECT_EQ(kBorder, Surface().pixel(device.right() + 1, device.center().y()));
  EXPECT_EQ(kCaption, Surface().pixel(device.center().x(), device.top() - 1));
  EXPECT_EQ(kBorder, Surface().pixel(device.center().x(), device.bottom() + 1));
}

TEST_F(DeviceScaleTest, ButtonsDrawTheirDenserArt) {
  Paint();
  const QRect close = Device(kCloseRect);
  for (int y = close.top(); y <= close.bottom(); ++y)
    for (int x = close.left(); x <= close.right(); ++x) {
      const QRgb pixel = Surface().pixel(x, y);
      if (m_ratio == 1) {
        ASSERT_EQ(kCloseOneTimes, pixel);
      } else if (m_ratio == 2) {
        ASSERT_EQ(kCloseChecks[(x - close.left() + y - close.top()) % 2], pixel) << x << "," << y;
      } else {
        ASSERT_TRUE(pixel == kCloseChecks[0] || pixel == kCloseChecks[1]) << x << "," << y;
      }
    }
  EXPECT_EQ(kCaption, Surface().pixel(close.left() - 1, close.center().y()));
  EXPECT_EQ(kCaption, Surface().pixel(close.right() + 1, close.center().y()));
}

// Two device pixels of one logical pixel differ somewhere in the title: it was not
// drawn at one logical pixel per pixel and then enlarged.
TEST_F(DeviceScaleTest, TheTitleIsDrawnAtDeviceResolution) {
  if (m_ratio == 1) GTEST_SKIP() << "one device pixel per logical pixel";
  Paint();
  const QRect title = Device(QRect(15, 8, 80, 24));
  int split = 0;
  for (int y = title.top(); y <= title.bottom(); ++y)
    for (int x = title.left(); x < title.right(); ++x) {
      const QPoint here = platform::LogicalPixelAt(QPointF(x / m_ratio, y / m_ratio), m_ratio);
      const QPoint right =
          platform::LogicalPixelAt(QPointF((x + 1) / m_ratio, y / m_ratio), m_ratio);
      if (here == right && Surface().pixel(x, y) != Surface().pixel(x + 1, y)) ++split;
    }
  EXPECT_GT(split, 20);
}

// Across the outer edges of the minimise and close buttons (the about button, which
// has no art in this skin, covers the inner ones), the pointer on each device column
// hovers a button, which then shows its hover frame, exactly where it is painted.
TEST_F(DeviceScaleTest, HoverLandsWherePaintedAtEveryColumn) {
  Paint();
  const int row = Device(QRect(0, 19, 1, 1)).top();
  const struct {
    QRect painted;
    int edge;
  } edges[] = {
      {Device(kMinimizeRect), Device(kMinimizeRect).left()},
      {Device(kCloseRect), Device(kCloseRect).right() + 1},
  };
  for (const auto& e : edges) {
    const QRgb normal = Surface().pixel(e.painted.center());
    for (int x = e.edge - 3; x <= e.edge + 2; ++x) {
      PointerOnDeviceColumn(x);
      const bool hovered = Surface().pixel(e.painted.center()) != normal;
      EXPECT_EQ(e.painted.contains(x, row), hovered) << "device column " << x;
    }
  }
}

}  // namespace
