#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "skin/dui_button.h"
#include "skin/skin_image_store.h"
#include "skin_test_support.h"

namespace {

using skin_test::AllPixels;
using skin_test::Canvas;

constexpr QRgb kSentinel = 0xFF00FF00;

// Files from the fuzzing corpus, put into a skin folder one by one.
class SkinBadFilesTest : public skin_test::FreshStoreTest {
 protected:
  // Every way the skin draws an image: a caption button in each state and the
  // painter's scaled and unscaled background pieces.
  static void DrawEveryWay(Gdiplus::Image* image, Canvas& canvas) {
    Gdiplus::Graphics graphics(canvas.dc());
    CDUIButton button;
    button.m_rect = CRect(10, 8, 30, 30);
    button.m_pImage = image;
    button.m_nFrameCount = 3;
    for (const bool hover : {false, true})
      for (const bool pressed : {false, true}) {
        button.Leave();
        if (hover) button.Hover();
        if (pressed) button.Press();
        button.Draw(&graphics);
      }
    EXPECT_NE(Gdiplus::Ok, graphics.DrawImage(image, Gdiplus::RectF(0, 0, 80, 38), 50, 0, 5, 38,
                                              Gdiplus::UnitPixel));
    EXPECT_NE(Gdiplus::Ok, graphics.DrawImage(image, 0, 0, 0, 0, 50, 38, Gdiplus::UnitPixel));
  }

  static std::wstring Name(const char* file) { return QString(file).toStdWString(); }

  // The corpus file put into the skin folder, then requested from the store.
  Gdiplus::Image* Load(const char* file) {
    const QDir corpus(VINTREL_SKIN_CORPUS_DIR);
    EXPECT_TRUE(QFile::copy(corpus.filePath(file), m_dir.filePath(file))) << file;
    return m_store->GetImage(Name(file).c_str());
  }
};

TEST_F(SkinBadFilesTest, DamagedFilesLoadOnceAsEmptyImagesThatDrawNothing) {
  for (const char* file :
       {"truncated.png", "zero_bytes.bmp", "lying_header.bmp", "huge_100000x100000.png"}) {
    SCOPED_TRACE(file);
    Gdiplus::Image* image = Load(file);
    ASSERT_NE(nullptr, image);
    EXPECT_NE(Gdiplus::Ok, image->GetLastStatus());
    EXPECT_EQ(0u, image->GetWidth());
    EXPECT_EQ(0u, image->GetHeight());
    EXPECT_EQ(image, m_store->GetImage(Name(file).c_str()));

    Canvas canvas(80, 40, kSentinel);
    DrawEveryWay(image, canvas);
    EXPECT_TRUE(AllPixels(canvas.image(), canvas.image().rect(), kSentinel));
  }
  EXPECT_EQ(4u, m_store->m_images.size());
}

// Any format the decoder reads is accepted, whatever the name says: it goes by
// content where the name's format does not fit.
TEST_F(SkinBadFilesTest, AGifUnderAPngNameLoadsAsTheGifItIs) {
  Gdiplus::Image* image = Load("gif_named.png");
  ASSERT_NE(nullptr, image);
  EXPECT_EQ(Gdiplus::Ok, image->GetLastStatus());
  EXPECT_EQ(1u, image->GetWidth());
  EXPECT_EQ(1u, image->GetHeight());
  Canvas canvas(80, 40, kSentinel);
  Gdiplus::Graphics graphics(canvas.dc());
  EXPECT_EQ(Gdiplus::Ok, graphics.DrawImage(image, Gdiplus::RectF(0, 0, 80, 38), 0, 0, 1, 1,
                                            Gdiplus::UnitPixel));
  EXPECT_TRUE(AllPixels(canvas.image(), QRect(0, 0, 80, 38), 0xFFFFFFFF));
}

// Decoding stops at 2048 x 2048 pixels. Uncompressed files, so that writing them costs little.
TEST(ImageDecodeLimit, RefusesImagesOfMorePixelsThanTheLimit) {
  const struct {
    QSize size;
    bool loads;
  } cases[] = {{{2048, 2048}, true}, {{2048, 2049}, false}, {{4097, 1024}, false}};
  const QTemporaryDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.size.width()) + "x" + std::to_string(c.size.height()));
    const QString path = dir.filePath("image.bmp");
    ASSERT_TRUE(skin_test::Filled(c.size.width(), c.size.height(), 0xFF336699).save(path, "BMP"));
    const Gdiplus::Bitmap bitmap(path.toStdWString().c_str());
    EXPECT_EQ(c.loads, bitmap.GetLastStatus() == Gdiplus::Ok);
    EXPECT_EQ(c.loads ? UINT(c.size.width()) : 0u, bitmap.GetWidth());
    EXPECT_EQ(c.loads ? UINT(c.size.height()) : 0u, bitmap.GetHeight());
  }
}

}  // namespace
