#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>

#include "platform/wnd.h"
#include "skin/dui_button.h"
#include "skin_test_support.h"

namespace {

using skin_test::Canvas;

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kFrameColors[] = {0xFF102030, 0xFF405060, 0xFF708090, 0xFFA0B0C0};
constexpr int kFrameWidth = 20;
constexpr int kFrameHeight = 22;

class ButtonDrawingTest : public ::testing::Test {
 protected:
  // A strip of frameCount 20-pixel frames plus extra columns that must never show.
  Gdiplus::Image* LoadStrip(UINT frameCount, int extraColumns) {
    QImage strip(int(frameCount) * kFrameWidth + extraColumns, kFrameHeight, QImage::Format_RGB32);
    strip.fill(0xFFFF00FF);
    for (UINT i = 0; i < frameCount; ++i)
      for (int x = 0; x < kFrameWidth; ++x)
        for (int y = 0; y < kFrameHeight; ++y)
          strip.setPixel(int(i) * kFrameWidth + x, y, kFrameColors[i]);
    const QString path = skin_test::SaveImage(m_dir.path(), "strip.bmp", strip, "BMP");
    m_image = std::make_unique<Gdiplus::Bitmap>(path.toStdWString().c_str());
    return m_image.get();
  }

  QTemporaryDir m_dir;
  std::unique_ptr<Gdiplus::Bitmap> m_image;
};

TEST_F(ButtonDrawingTest, DrawsTheFrameItsStateSelects) {
  struct Case {
    UINT frames;
    int extraColumns;
    BOOL disabled, pressed, hover;
    UINT expectedFrame;
  };
  const Case cases[] = {
      {4, 0, TRUE, TRUE, TRUE, 3},
      {4, 0, FALSE, TRUE, TRUE, 2},
      {4, 0, FALSE, FALSE, TRUE, 1},
      {4, 0, FALSE, FALSE, FALSE, 0},
      {3, 0, TRUE, FALSE, FALSE, 0},
      {3, 0, TRUE, FALSE, TRUE, 1},
      {3, 0, FALSE, TRUE, FALSE, 2},
      {3, 0, FALSE, TRUE, TRUE, 2},
      {2, 0, FALSE, TRUE, TRUE, 1},
      {2, 0, FALSE, TRUE, FALSE, 0},
      {1, 0, TRUE, TRUE, TRUE, 0},
      // 62 pixels in 3 frames: 20-pixel frames, the last 2 columns never shown.
      {3, 2, FALSE, TRUE, FALSE, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.frames << " frames, disabled " << c.disabled << " pressed "
                                    << c.pressed << " hover " << c.hover);
    CDUIButton button;
    button.m_pImage = LoadStrip(c.frames, c.extraColumns);
    button.m_nFrameCount = c.frames;
    if (c.hover) button.Hover();
    if (c.pressed) button.Press();
    button.SetDisabled(c.disabled);
    // Twice the frame's width: a frame boundary off by a fraction would show.
    button.m_rect = CRect(10, 5, 10 + 2 * kFrameWidth, 5 + kFrameHeight);
    Canvas canvas(60, 32, kBlack);
    Gdiplus::Graphics graphics(canvas.dc());
    button.Draw(&graphics);
    EXPECT_EQ(c.expectedFrame, button.FrameIndex());
    EXPECT_TRUE(skin_test::AllPixels(canvas.image(), QRect(10, 5, 2 * kFrameWidth, kFrameHeight),
                                     kFrameColors[c.expectedFrame]));
    EXPECT_EQ(kBlack, canvas.pixel(9, 5));
    EXPECT_EQ(kBlack, canvas.pixel(10 + 2 * kFrameWidth, 5 + kFrameHeight - 1));
  }
}

TEST_F(ButtonDrawingTest, WithoutAUsableImageNothingIsDrawn) {
  CDUIButton button;
  button.m_rect = CRect(0, 0, 20, 20);
  Canvas canvas(20, 20, kBlack);
  Gdiplus::Graphics graphics(canvas.dc());
  button.m_nFrameCount = 3;
  button.Draw(&graphics);  // no image
  button.m_pImage = LoadStrip(1, 0);
  button.m_nFrameCount = 0;
  button.Draw(&graphics);  // no frames
  button.Draw(nullptr);
  EXPECT_TRUE(skin_test::AllPixels(canvas.image(), canvas.image().rect(), kBlack));
}

int BrightestChannel(const QImage& image) {
  int brightest = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      brightest = std::max(brightest, qRed(image.pixel(x, y)));
  return brightest;
}

TEST_F(ButtonDrawingTest, LabelsAreWhiteOrGreyWhenDisabled) {
  for (bool disabled : {false, true}) {
    CDUIButton button;
    button.m_rect = CRect(0, 0, 60, 24);
    button.m_strText = L"关于";
    button.SetDisabled(disabled);
    Canvas canvas(60, 24, kBlack);
    Gdiplus::Graphics graphics(canvas.dc());
    button.Draw(&graphics);
    EXPECT_EQ(disabled ? 0x80 : 0xFF, BrightestChannel(canvas.image())) << "disabled " << disabled;
  }
}

TEST_F(ButtonDrawingTest, IconSitsAtItsPointAndFollowsMoves) {
  const QString path =
      skin_test::SaveImage(m_dir.path(), "icon.png", skin_test::Filled(4, 4, 0xFFFF0000));
  Gdiplus::Bitmap icon(path.toStdWString().c_str());
  CDUIButton button;
  button.m_rect = CRect(0, 0, 20, 20);
  button.m_pIcon = &icon;
  button.m_ptIcon = CPoint(2, 3);
  button.MoveTo(CRect(10, 10, 30, 30));
  EXPECT_EQ(CPoint(12, 13), button.m_ptIcon);
  Canvas canvas(40, 40, kBlack);
  Gdiplus::Graphics graphics(canvas.dc());
  button.Draw(&graphics);
  EXPECT_TRUE(skin_test::AllPixels(canvas.image(), QRect(12, 13, 4, 4), 0xFFFF0000));
  EXPECT_EQ(kBlack, canvas.pixel(16, 13));
}

// A window that records the commands it receives.
class CommandSink : public CWnd {
 public:
  std::vector<WPARAM> commands;

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM) override {
    commands.push_back(wParam);
    return TRUE;
  }
};

class FireClickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_owner.CreateEx(0, nullptr, L"owner", WS_OVERLAPPED, 0, 0, 200, 100, nullptr, 0));
    m_button.m_nID = 10;
    m_button.m_pOwner = &m_owner;
  }
  void TearDown() override { m_owner.DestroyWindow(); }

  CommandSink m_owner;
  CDUIButton m_button;
};

TEST_F(FireClickTest, ACompletedClickPostsOneCommandAndToggles) {
  m_button.Press();
  m_button.FireClick();
  EXPECT_FALSE(m_button.IsPressed());
  EXPECT_TRUE(m_button.IsToggled());
  EXPECT_TRUE(m_owner.commands.empty()) << "posted, not sent";
  QCoreApplication::processEvents();
  EXPECT_EQ(std::vector<WPARAM>{10}, m_owner.commands);

  m_button.Press();
  m_button.FireClick();
  EXPECT_FALSE(m_button.IsToggled());
}

TEST_F(FireClickTest, WithoutAPressOrWhenDisabledNothingHappens) {
  m_button.FireClick();
  m_button.Press();
  m_button.SetDisabled(true);
  m_button.FireClick();
  QCoreApplication::processEvents();
  EXPECT_TRUE(m_owner.commands.empty());
  EXPECT_FALSE(m_button.IsToggled());
  EXPECT_TRUE(m_button.IsPressed());
}

// The owner repaints on what these return: a change, and only a change.
TEST(ButtonStateTest, EachChangeIsReportedOnceAndADisabledButtonKeepsItsState) {
  CDUIButton button;
  EXPECT_TRUE(button.Hover());
  EXPECT_FALSE(button.Hover());
  EXPECT_TRUE(button.Press());
  EXPECT_FALSE(button.Press());
  EXPECT_TRUE(button.Leave());
  EXPECT_FALSE(button.IsHovered());
  EXPECT_FALSE(button.IsPressed());
  EXPECT_FALSE(button.Leave());

  EXPECT_TRUE(button.Hover());
  EXPECT_TRUE(button.SetDisabled(true));
  EXPECT_FALSE(button.SetDisabled(true));
  EXPECT_FALSE(button.Press());
  EXPECT_FALSE(button.Leave());
  EXPECT_TRUE(button.IsHovered()) << "a disabled button keeps its flags";
  EXPECT_FALSE(button.IsPressed());
}

}  // namespace
