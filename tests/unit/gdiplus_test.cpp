#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QTemporaryDir>

#include "platform/gdiplus.h"
#include "skin_test_support.h"

namespace {

using skin_test::Canvas;
using skin_test::InkBounds;

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kGreen = 0xFF00FF00;
constexpr QRgb kBlue = 0xFF0000FF;

class ImageFileTest : public ::testing::Test {
 protected:
  std::wstring PathOf(const QString& relative) {
    return skin_test::Wide(m_dir.path() + "/") + relative.toStdWString();
  }
  QTemporaryDir m_dir;
};

TEST_F(ImageFileTest, DecodesBitmapsAndPngsWithBackslashFolders) {
  skin_test::SaveImage(m_dir.path(), "dialog\\strip.bmp", skin_test::Strip({kRed, kGreen}, 3, 2),
                       "BMP");
  skin_test::SaveImage(m_dir.path(), "icon.png", skin_test::Filled(5, 4, 0x00000000));

  Gdiplus::Bitmap bitmap(PathOf("dialog\\strip.bmp").c_str());
  EXPECT_EQ(Gdiplus::Ok, bitmap.GetLastStatus());
  EXPECT_EQ(6u, bitmap.GetWidth());
  EXPECT_EQ(2u, bitmap.GetHeight());

  // A fully transparent PNG leaves what is under it.
  Gdiplus::Bitmap transparent(PathOf("icon.png").c_str());
  ASSERT_EQ(Gdiplus::Ok, transparent.GetLastStatus());
  Canvas canvas(8, 8, kBlue);
  Gdiplus::Graphics graphics(canvas.dc());
  EXPECT_EQ(Gdiplus::Ok, graphics.DrawImage(&transparent, 0, 0));
  EXPECT_EQ(kBlue, canvas.pixel(2, 2));
}

TEST_F(ImageFileTest, MissingOrUndecodableFilesGiveEmptyImagesThatDrawNothing) {
  QFile garbage(m_dir.filePath("garbage.png"));
  ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
  garbage.write("not an image at all");
  garbage.close();

  struct Case {
    QString name;
    Gdiplus::Status status;
  };
  for (const Case& c : {Case{"absent.png", Gdiplus::FileNotFound},
                        Case{"garbage.png", Gdiplus::UnknownImageFormat}}) {
    Gdiplus::Bitmap image(PathOf(c.name).c_str());
    EXPECT_EQ(c.status, image.GetLastStatus()) << c.name.toStdString();
    EXPECT_EQ(0u, image.GetWidth());
    EXPECT_EQ(0u, image.GetHeight());
    Canvas canvas(4, 4, kBlack);
    Gdiplus::Graphics graphics(canvas.dc());
    EXPECT_EQ(c.status, graphics.DrawImage(&image, Gdiplus::RectF(0, 0, 4, 4), 0, 0, 1, 1,
                                           Gdiplus::UnitPixel));
    EXPECT_EQ(c.status, graphics.GetLastStatus());
    EXPECT_TRUE(skin_test::AllPixels(canvas.image(), QRect(0, 0, 4, 4), kBlack));
  }
}

TEST_F(ImageFileTest, DrawsSubImagesScaledAndUnscaled) {
  skin_test::SaveImage(m_dir.path(), "strip.bmp", skin_test::Strip({kRed, kGreen, kBlue}, 4, 2),
                       "BMP");
  Gdiplus::Bitmap strip(PathOf("strip.bmp").c_str());
  Canvas canvas(20, 10, kBlack);
  Gdiplus::Graphics graphics(canvas.dc());

  ASSERT_EQ(Gdiplus::Ok,
            graphics.DrawImage(&strip, Gdiplus::RectF(0, 0, 8, 8), 4, 0, 4, 2, Gdiplus::UnitPixel));
  EXPECT_TRUE(skin_test::AllPixels(canvas.image(), QRect(0, 0, 8, 8), kGreen));
  EXPECT_EQ(kBlack, canvas.pixel(8, 0));
  EXPECT_EQ(kBlack, canvas.pixel(0, 8));

  ASSERT_EQ(Gdiplus::Ok, graphics.DrawImage(&strip, 10, 1, 8, 0, 4, 2, Gdiplus::UnitPixel));
  EXPECT_TRUE(skin_test::AllPixels(canvas.image(), QRect(10, 1, 4, 2), kBlue));
  EXPECT_EQ(kBlack, canvas.pixel(14, 1));
  EXPECT_EQ(kBlack, canvas.pixel(10, 3));
}

// Scaled drawing takes its own row-copy path; its pixels match the raster painter's.
TEST_F(ImageFileTest, ScaledDrawingMatchesThePainter) {
  QImage picture(5, 3, QImage::Format_ARGB32);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) picture.setPixel(x, y, qRgba(50 * x, 80 * y, 200, 60 * x + 15));
  const QImage opaque = picture.convertToFormat(QImage::Format_RGB32);
  skin_test::SaveImage(m_dir.path(), "translucent.png", picture);
  skin_test::SaveImage(m_dir.path(), "opaque.png", opaque);

  const struct {
    QString name;
    QRect to;
    QRect from;
  } cases[] = {
      {"translucent.png", QRect(1, 2, 13, 7), QRect(0, 0, 5, 3)},
      {"translucent.png", QRect(0, 0, 3, 9), QRect(1, 1, 2, 2)},
      {"opaque.png", QRect(2, 1, 17, 5), QRect(1, 0, 4, 3)},
      {"opaque.png", QRect(0, 0, 5, 3), QRect(0, 0, 5, 3)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name.toStdString());
    Gdiplus::Bitmap image(PathOf(c.name).c_str());
    Canvas canvas(20, 12, kBlue);
    Gdiplus::Graphics graphics(canvas.dc());
    ASSERT_EQ(Gdiplus::Ok,
              graphics.DrawImage(
                  &image, Gdiplus::RectF(c.to.x(), c.to.y(), c.to.width(), c.to.height()),
                  c.from.x(), c.from.y(), c.from.width(), c.from.height(), Gdiplus::UnitPixel));
    QImage reference(20, 12, QImage::Format_ARGB32_Premultiplied);
    reference.fill(kBlue);
    QPainter painter(&reference);
    painter.drawImage(QRectF(c.to), QImage(m_dir.filePath(c.name)), QRectF(c.from));
    painter.end();
    EXPECT_EQ("", skin_test::FirstDifference(reference, canvas.image()));
  }
}

TEST(DrawingLibrary, CountsStartupsAndShutdowns) {
  const Gdiplus::LibraryCounters before = Gdiplus::GetLibraryCounters();
  ULONG_PTR token = 0;
  const Gdiplus::GdiplusStartupInput input;
  ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&token, &input, nullptr));
  EXPECT_NE(0u, token);
  Gdiplus::GdiplusShutdown(token);
  const Gdiplus::LibraryCounters after = Gdiplus::GetLibraryCounters();
  EXPECT_EQ(before.startups + 1, after.startups);
  EXPECT_EQ(before.shutdowns + 1, after.shutdowns);
  EXPECT_EQ(Gdiplus::InvalidParameter, Gdiplus::GdiplusStartup(nullptr, &input, nullptr));
}

TEST(Text, ChineseFaceNamesResolveToInstalledCjkFamilies) {
  for (const wchar_t* face : {L"宋体", L"微软雅黑", L"No Such Family"}) {
    const Gdiplus::FontFamily family(face);
    ASSERT_EQ(Gdiplus::Ok, family.GetLastStatus());
    const QString resolved = QString::fromStdWString(family.resolvedName());
    EXPECT_TRUE(QFontDatabase::hasFamily(resolved)) << resolved.toStdString();
    EXPECT_TRUE(QFontMetrics(QFont(resolved)).inFontUcs4(U'关'))
        << "no CJK glyphs in " << resolved.toStdString();
  }
}

TEST(Text, ZeroSizeLayoutNeitherWrapsNorClips) {
  Canvas canvas(200, 40, kBlack);
  Gdiplus::Graphics graphics(canvas.dc());
  LOGFONTW logfont = {};
  logfont.lfHeight = -12;
  logfont.lfWeight = FW_BOLD;
  const Gdiplus::Font font(canvas.dc(), &logfont);
  EXPECT_FLOAT_EQ(12, font.GetPixelSize());
  const Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsNoWrap);
  const Gdiplus::SolidBrush white{Gdiplus::Color(0xFFFFFFFF)};
  ASSERT_EQ(Gdiplus::Ok, graphics.DrawString(L"lumerock lumerock", -1, &font,
                                             Gdiplus::RectF(20, 10, 0, 0), &format, &white));
  const QRect ink = InkBounds(canvas.image(), canvas.image().rect(), kBlack);
  EXPECT_GE(ink.left(), 20);
  EXPECT_LE(ink.left(), 22);
  EXPECT_GE(ink.top(), 10);
  EXPECT_GT(ink.width(), 100);  // one line, not wrapped at the zero width
  EXPECT_LT(ink.height(), 16);
}

TEST(Text, LabelsAlignInTheirRectangleAndRunVerticallyOnRequest) {
  LOGFONTW logfont = {};
  logfont.lfHeight = -12;
  const Gdiplus::SolidBrush white{Gdiplus::Color(0xFFFFFFFF)};

  Canvas centred(100, 40, kBlack);
  {
    Gdiplus::Graphics graphics(centred.dc());
    const Gdiplus::Font font(centred.dc(), &logfont);
    Gdiplus::StringFormat format;
    format.SetAlignment(Gdiplus::StringAlignmentCenter);
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    graphics.DrawString(L"mmm", -1, &font, Gdiplus::RectF(0, 0, 100, 40), &format, &white);
  }
  const QRect centredInk = InkBounds(centred.image(), centred.image().rect(), kBlack);
  EXPECT_NEAR(50, centredInk.center().x(), 2);
  EXPECT_NEAR(20, centredInk.center().y(), 3);

  Canvas vertical(40, 100, kBlack);
  {
    Gdiplus::Graphics graphics(vertical.dc());
    const Gdiplus::Font font(vertical.dc(), &logfont);
    const Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsDirectionVertical);
    graphics.DrawString(L"mmmm", -1, &font, Gdiplus::RectF(0, 0, 40, 100), &format, &white);
  }
  const QRect verticalInk = InkBounds(vertical.image(), vertical.image().rect(), kBlack);
  EXPECT_GT(verticalInk.height(), 2 * verticalInk.width());
  EXPECT_LT(verticalInk.top(), 4);  // near alignment: from the top
}

}  // namespace
