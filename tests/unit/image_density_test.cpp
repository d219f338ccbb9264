// Skin images at more than one density, and the mapping between logical and
// device pixels that painting and hit-testing share.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "platform/gdiplus.h"
#include "platform/qt/device_pixels.h"
#include "skin_test_support.h"

namespace {

using skin_test::Canvas;

constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kBlue = 0xFF0000FF;
constexpr QRgb kYellow = 0xFFFFFF00;
constexpr QRgb kBlack = 0xFF000000;

// One-pixel checks of two colours: doubled, it turns into 2 x 2 blocks.
QImage Checkers(int width, int height, QRgb a, QRgb b) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.setPixel(x, y, (x + y) % 2 ? b : a);
  return image;
}

class DensityTest : public ::testing::Test {
 protected:
  void Save(const QString& name, const QImage& image) {
    skin_test::SaveImage(m_dir.path(), name, image, "PNG");
  }
  std::unique_ptr<Gdiplus::Bitmap> Load(const QString& name) {
    const std::wstring path = skin_test::Wide(m_dir.path() + "/") + name.toStdWString();
    return std::make_unique<Gdiplus::Bitmap>(path.c_str());
  }
  // The colour the image shows at the centre of a 4 x 2 logical canvas of the ratio.
  QRgb DrawnColour(Gdiplus::Image& image, qreal ratio) {
    const QSize device = platform::DeviceSize(QSize(4, 2), ratio);
    Canvas canvas(device.width(), device.height(), kBlack);
    canvas.image().setDevicePixelRatio(ratio);
    Gdiplus::Graphics graphics(canvas.dc());
    EXPECT_EQ(Gdiplus::Ok, graphics.DrawImage(&image, Gdiplus::RectF(0, 0, 4, 2), 0, 0, 4, 2,
                                              Gdiplus::UnitPixel));
    return canvas.pixel(device.width() / 2, device.height() / 2);
  }
  QTemporaryDir m_dir;
};

TEST_F(DensityTest, TheCopyForTheRatioIsChosenAndTheLogicalSizeStays) {
  Save("a.png", skin_test::Filled(4, 2, kRed));
  Save("a@2x.png", skin_test::Filled(8, 4, kBlue));
  Save("a@1.5x.png", skin_test::Filled(6, 3, kYellow));
  const auto image = Load("a.png");
  ASSERT_EQ(Gdiplus::Ok, image->GetLastStatus());
  EXPECT_EQ(4u, image->GetWidth());
  EXPECT_EQ(2u, image->GetHeight());
  const struct {
    qreal ratio;
    QRgb expected;
  } cases[] = {{1, kRed}, {1.25, kYellow}, {1.5, kYellow}, {1.75, kBlue}, {2, kBlue}, {3, kBlue}};
  for (const auto& c : cases) EXPECT_EQ(c.expected, DrawnColour(*image, c.ratio)) << c.ratio;
}

TEST_F(DensityTest, MissingOrMisfitDenserCopiesFallBackToTheOneTimesImage) {
  Save("plain.png", skin_test::Filled(4, 2, kRed));
  Save("misfit.png", skin_test::Filled(4, 2, kRed));
  Save("misfit@2x.png", skin_test::Filled(9, 4, kBlue));  // not twice the width
  Save("misfit@x.png", skin_test::Filled(8, 4, kBlue));   // no scale in the name
  Save("misfit@1x.png", skin_test::Filled(4, 2, kBlue));  // the one-times image is the plain name
  QFile garbage(m_dir.filePath("garbage@2x.png"));
  ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
  garbage.write("not an image");
  garbage.close();
  Save("garbage.png", skin_test::Filled(4, 2, kRed));
  for (const QString name : {"plain.png", "misfit.png", "garbage.png"}) {
    const auto image = Load(name);
    ASSERT_EQ(Gdiplus::Ok, image->GetLastStatus()) << name.toStdString();
    for (const qreal ratio : {1.0, 1.5, 2.0})
      EXPECT_EQ(kRed, DrawnColour(*image, ratio)) << name.toStdString() << " at " << ratio;
  }
}

TEST_F(DensityTest, ADenserCopyWithoutTheOneTimesImageIsNoImage) {
  Save("alone@2x.png", skin_test::Filled(8, 4, kBlue));
  const auto image = Load("alone.png");
  EXPECT_EQ(Gdiplus::FileNotFound, image->GetLastStatus());
  EXPECT_EQ(0u, image->GetWidth());
}

// At ratio 2 the 2x copy lands pixel for pixel; without one, the 1x pixels double.
TEST_F(DensityTest, TwiceTheDensityDrawsTheDenserPixelsOneToOne) {
  Save("fine.png", Checkers(3, 2, kRed, kBlue));
  Save("fine@2x.png", Checkers(6, 4, kYellow, kBlue));
  Save("coarse.png", Checkers(3, 2, kRed, kBlue));
  for (const bool withDenserCopy : {true, false}) {
    const auto image = Load(withDenserCopy ? "fine.png" : "coarse.png");
    Canvas canvas(8, 6, kBlack);
    canvas.image().setDevicePixelRatio(2);
    Gdiplus::Graphics graphics(canvas.dc());
    // Unscaled at logical (1, 1): device pixels (2, 2) to (8, 6).
    ASSERT_EQ(Gdiplus::Ok, graphics.DrawImage(image.get(), 1, 1, 0, 0, 3, 2, Gdiplus::UnitPixel));
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 6; ++x) {
        const QRgb expected =
            withDenserCopy ? ((x + y) % 2 ? kBlue : kYellow) : ((x / 2 + y / 2) % 2 ? kBlue : kRed);
        ASSERT_EQ(expected, canvas.pixel(x + 2, y + 2)) << withDenserCopy << " " << x << "," << y;
      }
    EXPECT_EQ(kBlack, canvas.pixel(1, 1)) << "nothing outside the logical rectangle";
  }
}

// Logical rectangles that meet meet in device pixels too, and a pointer on a device
// pixel hit-tests to the logical rectangle that was painted there.
TEST(DevicePixels, TilingAndHitTestingAgreeAtEveryScale) {
  for (const qreal ratio : {1.0, 1.25, 1.5, 1.75, 2.0, 3.0}) {
    SCOPED_TRACE(ratio);
    for (const int left : {0, 1, 2, 3, 4, 5, 6, 7, 1671, 1672, 1673, 1674, 1675, 1676, 1677}) {
      const QRect first = platform::DeviceRect(QRect(left, 0, 3, 1), ratio);
      const QRect second = platform::DeviceRect(QRect(left + 3, 0, 20, 1), ratio);
      ASSERT_EQ(first.right() + 1, second.left()) << "seam or overlap at " << left + 3;
      for (int device = first.left() - 2; device <= second.right() + 2; ++device) {
        const int logical = platform::LogicalPixelAt(QPointF(device / ratio, 0), ratio).x();
        const bool inSecond = logical >= left + 3 && logical < left + 23;
        ASSERT_EQ(second.contains(device, 0), inSecond) << "device pixel " << device;
      }
    }
    EXPECT_EQ(platform::DeviceSize(QSize(951, 681), ratio),
              platform::DeviceRect(QRect(0, 0, 951, 681), ratio).size());
  }
}

}  // namespace
