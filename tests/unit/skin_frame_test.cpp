#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QIcon>
#include <QPixmap>
#include <QTemporaryDir>

#include "platform/qt/icon.h"
#include "platform/qt/window_host.h"
#include "skin/caption_buttons.h"
#include "skin/skin_frame_wnd.h"
#include "skin/skin_geometry.h"
#include "skin/skin_image_store.h"
#include "skin_test_support.h"

namespace {

using skin_test::AllPixels;
using ::testing::AnyOf;

// --- geometry, without a window ---

TEST(SkinGeometry, ClientAreaOfTheSmallestWindow) {
  const CRect client = skin::ClientRectInWindow(skin::kMinTrackWidth, skin::kMinTrackHeight);
  EXPECT_EQ(CPoint(3, 38), client.TopLeft());
  EXPECT_EQ(945, client.Width());
  EXPECT_EQ(640, client.Height());
}

TEST(SkinGeometry, CaptionButtonsOfAWindow1000Wide) {
  const struct {
    UINT id;
    CRect rect;
  } cases[] = {
      {skin::kCloseButtonId, CRect(970, 8, 990, 30)},
      {skin::kMaximizeButtonId, CRect(948, 8, 968, 30)},
      {skin::kMinimizeButtonId, CRect(926, 8, 946, 30)},
      {skin::kAboutButtonId, CRect(904, 8, 924, 30)},
  };
  for (const auto& c : cases) {
    const skin::CaptionButton* button = skin::FindCaptionButton(c.id);
    ASSERT_NE(nullptr, button) << c.id;
    EXPECT_EQ(c.rect, skin::PlacedButtonRect(*button, 1000)) << c.id;
  }
  EXPECT_EQ(nullptr, skin::FindCaptionButton(1));
  EXPECT_EQ(CRect(965, 5, 985, 25), skin::CreationButtonRect(1000));
}

// Right to left in table order, inside the caption and the right border, none
// overlapping, whatever the width.
TEST(SkinGeometry, CaptionButtonsLineUpFromTheRightEdge) {
  for (const int width : {skin::kMinTrackWidth, 1920, 3840}) {
    SCOPED_TRACE(width);
    const CRect closeButton = skin::PlacedButtonRect(skin::kCaptionButtons[0], width);
    EXPECT_EQ(skin::kCloseButtonId, skin::kCaptionButtons[0].id);
    EXPECT_LE(closeButton.right, width - skin::kBorderWidth);
    int leftEdge = closeButton.right;
    for (const skin::CaptionButton& button : skin::kCaptionButtons) {
      const CRect rect = skin::PlacedButtonRect(button, width);
      EXPECT_LE(rect.right, leftEdge) << button.id;
      EXPECT_GE(rect.top, 0) << button.id;
      EXPECT_LE(rect.bottom, skin::kCaptionHeight) << button.id;
      EXPECT_EQ(closeButton.Width(), rect.Width()) << button.id;
      EXPECT_EQ(closeButton.Height(), rect.Height()) << button.id;
      leftEdge = rect.left;
    }
  }
}

// Every non-client pixel is covered by a background piece that fits the window.
TEST(SkinGeometry, BackgroundPiecesCoverTheWholeNonClientArea) {
  for (const QSize size : {QSize(951, 681), QSize(1920, 1080), QSize(3840, 2160)}) {
    QRegion covered;
    for (const skin::BackgroundPiece& piece :
         skin::BackgroundPieces(size.width(), size.height(), 160, 120)) {
      const QRect destination(piece.destination.x, piece.destination.y, piece.destination.width,
                              piece.destination.height);
      EXPECT_TRUE(QRect(QPoint(0, 0), size).contains(destination));
      if (!piece.scaled) {
        EXPECT_EQ(piece.source.width, piece.destination.width);
        EXPECT_EQ(piece.source.height, piece.destination.height);
      }
      covered += destination;
    }
    const CRect c = skin::ClientRectInWindow(size.width(), size.height());
    const QRegion nonClient =
        QRegion(QRect(QPoint(0, 0), size)) - QRect(c.left, c.top, c.Width(), c.Height());
    EXPECT_TRUE((nonClient - covered).isEmpty()) << size.width() << "x" << size.height();
  }
}

// --- the frame window ---

constexpr QRgb kSentinel = 0xFF00FF00;
constexpr QRgb kFiller = 0xFF202020;
constexpr QRgb kBottomEdge = 0xFF800000;
constexpr QRgb kBottomRight = 0xFF008000;
constexpr QRgb kBottomLeft = 0xFF000080;
constexpr QRgb kLeftEdge = 0xFF808000;
constexpr QRgb kRightEdge = 0xFF800080;
constexpr QRgb kCaptionBand = 0xFF008080;
constexpr QRgb kCaptionLeft = 0xFF404080;
constexpr QRgb kCaptionRight = 0xFF804040;
constexpr QRgb kIconColor = 0xFFFFD700;
constexpr QRgb kCloseFrames[] = {0xFF300000, 0xFF500000, 0xFF700000};
constexpr QRgb kMaximizeFrames[] = {0xFF003000, 0xFF005000, 0xFF007000};
constexpr QRgb kMinimizeFrames[] = {0xFF000030, 0xFF000050, 0xFF000070};
constexpr int kWidth = 1000;
constexpr int kHeight = 700;

// A background whose sampled regions each carry their own colour.
QImage ColourCodedBackground() {
  QImage image(160, 120, QImage::Format_ARGB32);
  image.fill(kFiller);
  const struct {
    QRect rect;
    QRgb color;
  } regions[] = {
      {QRect(38, 117, 3, 3), kBottomEdge}, {QRect(122, 82, 38, 38), kBottomRight},
      {QRect(0, 82, 38, 38), kBottomLeft}, {QRect(0, 38, 3, 3), kLeftEdge},
      {QRect(157, 38, 3, 3), kRightEdge},  {QRect(50, 0, 5, 38), kCaptionBand},
      {QRect(0, 0, 50, 38), kCaptionLeft}, {QRect(110, 0, 50, 38), kCaptionRight},
  };
  for (const auto& region : regions) {
    for (int y = region.rect.top(); y <= region.rect.bottom(); ++y)
      for (int x = region.rect.left(); x <= region.rect.right(); ++x)
        image.setPixel(x, y, region.color);
  }
  return image;
}

class TestSkinFrame : public CSkinFrameWnd {
 public:
  explicit TestSkinFrame(int* paints) : m_paints(paints) {}
  void OnNcPaint() override {
    ++*m_paints;
    CSkinFrameWnd::OnNcPaint();
  }
  using CSkinFrameWnd::m_buttons;
  using CSkinFrameWnd::m_pBkImage;
  using CSkinFrameWnd::m_rcIcon;

 private:
  int* m_paints;
};

class SkinFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const QDir root(m_skin.path());
    skin_test::SaveImage(
        root, "dialog\\dlg_close_btn.bmp",
        skin_test::Strip({kCloseFrames[0], kCloseFrames[1], kCloseFrames[2]}, 20, 22), "BMP");
    skin_test::SaveImage(
        root, "dialog\\dlg_maxmize_button.bmp",
        skin_test::Strip({kMaximizeFrames[0], kMaximizeFrames[1], kMaximizeFrames[2]}, 20, 22),
        "BMP");
    skin_test::SaveImage(
        root, "dialog\\dlg_minimize_button.bmp",
        skin_test::Strip({kMinimizeFrames[0], kMinimizeFrames[1], kMinimizeFrames[2]}, 20, 22),
        "BMP");
    CSkinImageStore::DestroyInstance();
    CSkinImageStore::GetInstance()->m_strSkinRoot = CString(skin_test::Wide(m_skin.path() + "/"));
  }

  void TearDown() override {
    if (m_frame && m_frame->GetSafeHwnd()) m_frame->DestroyWindow();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    CSkinImageStore::DestroyInstance();
  }

  void UseColourCodedBackground() {
    skin_test::SaveImage(m_skin.path(), "dialog\\DialogBkg.png", ColourCodedBackground());
  }

  TestSkinFrame* Open(int width = kWidth, int height = kHeight, DWORD visible = WS_VISIBLE) {
    m_frame = new TestSkinFrame(&m_paints);
    EXPECT_TRUE(m_frame->CreateEx(0, nullptr, L"skinned", WS_OVERLAPPEDWINDOW | visible, 0, 0,
                                  width, height, nullptr, 0));
    m_paints = 0;
    return m_frame;
  }

  QImage& Surface() { return m_frame->host()->windowSurface(); }

  // Paints over a surface filled with the sentinel colour.
  void Paint() {
    Surface().fill(kSentinel);
    m_frame->OnNcPaint();
  }

  QRect ClientInWindow() {
    const CRect c = skin::ClientRectInWindow(kWidth, kHeight);
    return QRect(c.left, c.top, c.Width(), c.Height());
  }

  // The leftmost column of white title text in the caption, searched from x.
  int TitleStart(int fromX) {
    for (int x = fromX; x < 300; ++x)
      for (int y = 8; y < 32; ++y) {
        const QRgb p = Surface().pixel(x, y);
        if (qRed(p) > 160 && qGreen(p) > 160 && qBlue(p) > 160) return x;
      }
    return -1;
  }

  QTemporaryDir m_skin;
  TestSkinFrame* m_frame = nullptr;
  int m_paints = 0;
};

TEST_F(SkinFrameTest, ClientAreaIsInsetByCaptionAndBorders) {
  Open();
  NCCALCSIZE_PARAMS params{};
  params.rgrc[0] = CRect(100, 200, 1100, 900);
  m_frame->SendMessage(WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
  EXPECT_EQ(CRect(103, 238, 1097, 897), CRect(params.rgrc[0]));
  params.rgrc[0] = CRect(100, 200, 1100, 900);
  m_frame->SendMessage(WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&params));
  EXPECT_EQ(CRect(100, 200, 1100, 900), CRect(params.rgrc[0]));
}

TEST_F(SkinFrameTest, MinimumTrackingSizeIsAtLeast951By681) {
  Open();
  const struct {
    POINT proposed, expected;
  } cases[] = {{{0, 0}, {951, 681}}, {{951, 681}, {951, 681}}, {{1200, 900}, {1200, 900}}};
  for (const auto& c : cases) {
    MINMAXINFO info{};
    info.ptMinTrackSize = c.proposed;
    m_frame->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(c.expected.x, info.ptMinTrackSize.x);
    EXPECT_EQ(c.expected.y, info.ptMinTrackSize.y);
  }
}

TEST_F(SkinFrameTest, TheSmallestWindowHasA945By640ClientAreaAt3And38) {
  Open(951, 681);
  m_frame->MoveWindow(0, 0, 800, 600);  // below the minimum: held at it
  CRect window;
  m_frame->GetWindowRect(&window);
  EXPECT_EQ(951, window.Width());
  EXPECT_EQ(681, window.Height());
  CRect client;
  m_frame->GetClientRect(&client);
  EXPECT_EQ(CRect(0, 0, 945, 640), client);
  EXPECT_EQ(QPoint(3, 38), m_frame->host()->clientRect().topLeft());
}

TEST_F(SkinFrameTest, ButtonsAreCreatedFromTheTableAndPlacedOnResize) {
  Open(1200, 800);
  ASSERT_EQ(skin::kCaptionButtons.size(), m_frame->m_buttons.size());

  m_frame->MoveWindow(0, 0, 1000, 700);
  for (const skin::CaptionButton& entry : skin::kCaptionButtons) {
    const CDUIButton& button = m_frame->m_buttons.at(int(entry.id));
    EXPECT_EQ(skin::PlacedButtonRect(entry, 1000), button.m_rect) << entry.id;
    EXPECT_EQ(CSkinImageStore::GetInstance()->GetImage(entry.image), button.m_pImage) << entry.id;
  }
  for (const auto& [id, button] : m_frame->m_buttons) {
    EXPECT_EQ(UINT(id), button.m_nID);
    EXPECT_EQ(3u, button.m_nFrameCount);
    EXPECT_EQ(m_frame, button.m_pOwner);
  }
  EXPECT_EQ(CRect(15, 13, 31, 29), m_frame->m_rcIcon);
}

TEST_F(SkinFrameTest, SizeTypesDecideRegionAndRepaint) {
  Open();
  const QRegion marker(0, 0, 5, 5);
  CRgn expected;
  expected.CreateRoundRectRgn(0, 0, kWidth + 1, kHeight + 1, 5, 5);
  struct Case {
    UINT type;
    bool setsRegion;
    int paints;
  };
  for (const Case& c :
       {Case{SIZE_MINIMIZED, false, 0}, Case{SIZE_MAXHIDE, false, 0}, Case{SIZE_MAXSHOW, true, 0},
        Case{SIZE_RESTORED, true, 1}, Case{SIZE_MAXIMIZED, true, 1}}) {
    SCOPED_TRACE(testing::Message() << "size type " << c.type);
    m_frame->host()->setMask(marker);
    m_frame->m_buttons.at(110).m_rect = CRect(0, 0, 1, 1);
    m_paints = 0;
    m_frame->SendMessage(WM_SIZE, c.type, MAKELPARAM(kWidth - 6, kHeight - 41));
    EXPECT_EQ(c.setsRegion ? expected.GetSafeHandle()->region : marker, m_frame->host()->mask());
    EXPECT_EQ(c.paints, m_paints);
    EXPECT_EQ(CRect(970, 8, 990, 30), m_frame->m_buttons.at(110).m_rect) << "placed in every case";
  }
}

TEST_F(SkinFrameTest, RepaintTriggers) {
  Open();
  constexpr UINT kKeyMenu = 0xF100;
  const struct {
    UINT message;
    WPARAM wParam;
    LRESULT result;
  } cases[] = {
      {WM_NCACTIVATE, TRUE, TRUE},
      {WM_NCACTIVATE, FALSE, TRUE},
      {0x00AE, 0, 0},
      {0x00AF, 0, 0},
      {WM_UNINITMENUPOPUP, 0, 0},
      {WM_ACTIVATE, WA_ACTIVE, 0},
      {WM_SYSCOMMAND, kKeyMenu, 0},
      {WM_NCPAINT, 1, 0},
  };
  for (const auto& c : cases) {
    m_paints = 0;
    EXPECT_EQ(c.result, m_frame->SendMessage(c.message, c.wParam, 0)) << std::hex << c.message;
    EXPECT_EQ(1, m_paints) << std::hex << c.message;
  }
}

TEST_F(SkinFrameTest, ClosingDoesNotRepaintFirst) {
  Open();
  const HWND hwnd = m_frame->GetSafeHwnd();
  m_frame->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(0, m_paints);
  EXPECT_EQ(nullptr, CWnd::FromHandle(hwnd));
  m_frame = nullptr;  // deleted with its window
}

TEST_F(SkinFrameTest, ActiveAndInactiveCaptionsLookTheSame) {
  UseColourCodedBackground();
  Open();
  Surface().fill(kSentinel);
  m_frame->SendMessage(WM_NCACTIVATE, TRUE, 0);
  const QImage active = Surface().copy();
  Surface().fill(kSentinel);
  m_frame->SendMessage(WM_NCACTIVATE, FALSE, 0);
  EXPECT_EQ("", skin_test::FirstDifference(active, Surface()));
}

TEST_F(SkinFrameTest, BackgroundPiecesLandWhereTheTablePutsThem) {
  UseColourCodedBackground();
  Open();
  Paint();
  const int W = kWidth, H = kHeight;
  const struct {
    int x, y;
    QRgb color;
  } probes[] = {
      {0, 37, kCaptionLeft},         {49, 37, kCaptionLeft},
      {50, 37, kCaptionBand},        {500, 0, kCaptionBand},
      {W - 51, 37, kCaptionBand},    {W - 50, 37, kCaptionRight},
      {W - 1, 37, kCaptionRight},    {0, 38, kLeftEdge},
      {2, H - 39, kLeftEdge},        {0, H - 38, kBottomLeft},
      {37, H - 1, kBottomLeft},      {38, H - 1, kBottomEdge},
      {W - 39, H - 3, kBottomEdge},  {W - 38, H - 1, kBottomRight},
      {W - 1, H - 38, kBottomRight}, {W - 3, H - 39, kRightEdge},
      {W - 1, 38, kRightEdge},
  };
  for (const auto& p : probes)
    EXPECT_EQ(p.color, Surface().pixel(p.x, p.y)) << "at " << p.x << "," << p.y;
  EXPECT_TRUE(AllPixels(Surface(), ClientInWindow(), kSentinel)) << "drew into the client area";
}

TEST_F(SkinFrameTest, AHiddenFrameIsDrawnWhenItIsFirstPaintedNotBefore) {
  UseColourCodedBackground();
  Open(kWidth, kHeight, 0);
  Paint();
  EXPECT_TRUE(AllPixels(Surface(), Surface().rect(), kSentinel)) << "drew while hidden";

  m_frame->ShowWindow(SW_SHOW);
  QCoreApplication::processEvents();
  m_frame->host()->repaint();
  EXPECT_EQ(kCaptionBand, Surface().pixel(500, 0));
  EXPECT_EQ(kBottomRight, Surface().pixel(kWidth - 1, kHeight - 1));
}

TEST_F(SkinFrameTest, IconAndTitleWithAndWithoutASmallIcon) {
  UseColourCodedBackground();
  Open();
  Paint();
  EXPECT_THAT(TitleStart(0), AnyOf(15, 16));  // the first glyph's side bearing

  QPixmap pixmap(32, 32);
  pixmap.fill(QColor::fromRgba(kIconColor));
  m_frame->SetIcon(platform::HandleFromIcon(QIcon(pixmap)), FALSE);
  Paint();
  EXPECT_TRUE(AllPixels(Surface(), QRect(15, 11, 16, 16), kIconColor));
  EXPECT_EQ(kCaptionLeft, Surface().pixel(14, 11));
  EXPECT_EQ(kCaptionLeft, Surface().pixel(31, 27));
  EXPECT_THAT(TitleStart(32), AnyOf(36, 37));
}

TEST_F(SkinFrameTest, ButtonsShowTheFrameOfTheirState) {
  UseColourCodedBackground();
  Open();
  m_frame->m_buttons.at(110).Hover();
  m_frame->m_buttons.at(111).Press();
  Paint();
  EXPECT_TRUE(AllPixels(Surface(), QRect(970, 8, 20, 22), kCloseFrames[1]));
  EXPECT_TRUE(AllPixels(Surface(), QRect(948, 8, 20, 22), kMaximizeFrames[2]));
  EXPECT_TRUE(AllPixels(Surface(), QRect(926, 8, 20, 22), kMinimizeFrames[0]));
}

TEST_F(SkinFrameTest, WithoutABackgroundImageOnlyIconTitleAndButtonsAreDrawn) {
  Open();  // no DialogBkg.png in this skin
  Paint();
  for (const QPoint p : {QPoint(500, 37), QPoint(0, 300), QPoint(kWidth - 1, 300),
                         QPoint(500, kHeight - 1), QPoint(10, kHeight - 1)}) {
    const QRgb pixel = Surface().pixel(p);
    EXPECT_NE(kSentinel, pixel) << "the off-screen bitmap is copied";
    EXPECT_NE(kFiller, pixel);
  }
  EXPECT_THAT(TitleStart(0), AnyOf(15, 16));
  EXPECT_TRUE(AllPixels(Surface(), QRect(970, 8, 20, 22), kCloseFrames[0]));
  EXPECT_TRUE(AllPixels(Surface(), ClientInWindow(), kSentinel));
}

TEST_F(SkinFrameTest, ANullBackgroundDrawsNothing) {
  UseColourCodedBackground();
  Open();
  m_frame->m_pBkImage = nullptr;
  Paint();
  EXPECT_TRUE(AllPixels(Surface(), Surface().rect(), kSentinel));
}

}  // namespace
