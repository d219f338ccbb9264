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

QRect ToQRect(const CRect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

TEST(FrameLayout, PlacesEverythingForTheWindowSize) {
  const struct {
    SIZE window;
    CRect client, close, maximize, minimize, about;
  } cases[] = {
      {{951, 681},
       CRect(3, 38, 948, 678),
       CRect(921, 8, 941, 30),
       CRect(899, 8, 919, 30),
       CRect(877, 8, 897, 30),
       CRect(855, 8, 875, 30)},
      {{1000, 700},
       CRect(3, 38, 997, 697),
       CRect(970, 8, 990, 30),
       CRect(948, 8, 968, 30),
       CRect(926, 8, 946, 30),
       CRect(904, 8, 924, 30)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.window.cx);
    const skin::FrameLayout layout = skin::LayoutFrame(c.window, SIZE{16, 16});
    EXPECT_EQ(c.client, layout.client);
    EXPECT_EQ(CRect(0, 0, c.window.cx, 38), layout.captionStrip);
    EXPECT_EQ(c.close, layout.Button(skin::kCloseButtonId));
    EXPECT_EQ(c.maximize, layout.Button(skin::kMaximizeButtonId));
    EXPECT_EQ(c.minimize, layout.Button(skin::kMinimizeButtonId));
    EXPECT_EQ(c.about, layout.Button(skin::kAboutButtonId));
    EXPECT_EQ(CRect(15, 11, 31, 27), layout.icon);
    EXPECT_EQ(CRect(15, 13, 31, 29), layout.systemMenuSpot);
    EXPECT_EQ(CPoint(36, 10), layout.titleWithIcon);
    EXPECT_EQ(CPoint(15, 10), layout.titleWithoutIcon);
    EXPECT_EQ(CRect(), layout.Button(1)) << "no such button";
    EXPECT_EQ(skin::kAboutButtonId, layout.ButtonAt(c.about.TopLeft()));
    EXPECT_EQ(0u, layout.ButtonAt(CPoint(c.about.right, c.about.top))) << "the gap between buttons";
  }
}

// Right to left in table order, inside the caption and the right border, none
// overlapping, whatever the width.
TEST(FrameLayout, CaptionButtonsLineUpFromTheRightEdge) {
  for (const int width : {skin::kMinTrackWidth, 1920, 3840}) {
    SCOPED_TRACE(width);
    const skin::FrameLayout layout = skin::LayoutFrame(SIZE{width, 1000}, SIZE{16, 16});
    const CRect closeButton = layout.buttons[0];
    EXPECT_EQ(skin::kCloseButtonId, skin::kCaptionButtons[0].id);
    EXPECT_LE(closeButton.right, width - skin::kBorderWidth);
    int leftEdge = closeButton.right;
    for (const CRect& rect : layout.buttons) {
      EXPECT_LE(rect.right, leftEdge);
      EXPECT_GE(rect.top, 0);
      EXPECT_LE(rect.bottom, layout.captionStrip.bottom);
      EXPECT_EQ(closeButton.Width(), rect.Width());
      EXPECT_EQ(closeButton.Height(), rect.Height());
      leftEdge = rect.left;
    }
  }
}

// A button wins over the system menu, and the about button, which has no code of
// its own, is caption; elsewhere the default frame answers.
TEST(FrameLayout, HitTestIsButtonsThenTheSystemMenuThenTheFrame) {
  skin::FrameLayout layout = skin::LayoutFrame(SIZE{1000, 700}, SIZE{16, 16});
  const CPoint onSpot(layout.systemMenuSpot.left + 1, layout.systemMenuSpot.top + 1);
  EXPECT_EQ(HTSYSMENU, skin::HitTest(layout, onSpot, true));
  layout.buttons[0] = layout.systemMenuSpot;  // the close button over the icon
  EXPECT_EQ(HTCLOSE, skin::HitTest(layout, onSpot, true));
  layout.buttons[3] = layout.systemMenuSpot;  // the about button over it as well
  EXPECT_EQ(HTCLOSE, skin::HitTest(layout, onSpot, true)) << "the table's first row wins";
  layout.buttons[0] = CRect();
  EXPECT_EQ(HTCAPTION, skin::HitTest(layout, onSpot, true));
  EXPECT_EQ(HTLEFT, skin::HitTest(layout, CPoint(1, 300), true));
  EXPECT_EQ(HTNOWHERE, skin::HitTest(layout, CPoint(1, 300), false));
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
    const CRect c = skin::LayoutFrame(SIZE{size.width(), size.height()}, SIZE{16, 16}).client;
    const QRegion nonClient = QRegion(QRect(QPoint(0, 0), size)) - ToQRect(c);
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
constexpr const QRgb* kCloseFrames = skin_test::kButtonFrames[0];
constexpr const QRgb* kMaximizeFrames = skin_test::kButtonFrames[1];
constexpr const QRgb* kMinimizeFrames = skin_test::kButtonFrames[2];
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
  using CSkinFrameWnd::m_pBkImage;

 private:
  int* m_paints;
};

class SkinFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    skin_test::SaveColourCodedButtons(m_skin.path());
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

  QImage& Surface() { return m_frame->host()->surface().pixels(); }

  // Paints over a surface filled with the sentinel colour.
  void Paint() {
    Surface().fill(kSentinel);
    m_frame->OnNcPaint();
  }

  QRect ClientInWindow() {
    return ToQRect(skin::LayoutFrame(SIZE{kWidth, kHeight}, SIZE{16, 16}).client);
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

// The window's client area, its minimum size and what it tells the window system
// of its non-client area all follow the layout.
TEST_F(SkinFrameTest, TheWindowKeepsToItsLayout) {
  Open(1200, 800);
  const struct {
    QSize asked, held;
  } cases[] = {
      {{1000, 700}, {1000, 700}},
      {{800, 600}, {951, 681}},  // below the minimum: held at it
      {{951, 681}, {951, 681}},
      {{1200, 900}, {1200, 900}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.asked.width() << "x" << c.asked.height());
    m_frame->MoveWindow(0, 0, c.asked.width(), c.asked.height());
    EXPECT_EQ(c.held, m_frame->host()->size());
    const CRect client =
        skin::LayoutFrame(SIZE{c.held.width(), c.held.height()}, SIZE{16, 16}).client;
    CRect clientRect;
    m_frame->GetClientRect(&clientRect);
    EXPECT_EQ(CRect(0, 0, client.Width(), client.Height()), clientRect);
    EXPECT_EQ(ToQRect(client), m_frame->host()->clientRect());

    NCCALCSIZE_PARAMS params{};
    const CRect window(100, 200, 100 + c.held.width(), 200 + c.held.height());
    params.rgrc[0] = window;
    m_frame->SendMessage(WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
    EXPECT_EQ(CRect(103, 238, window.right - 3, window.bottom - 3), CRect(params.rgrc[0]));
    params.rgrc[0] = window;
    m_frame->SendMessage(WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&params));
    EXPECT_EQ(window, CRect(params.rgrc[0])) << "no valid rectangles asked for: unchanged";

    MINMAXINFO info{};
    info.ptMinTrackSize = POINT{c.asked.width(), c.asked.height()};
    m_frame->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(std::max(c.asked.width(), 951), info.ptMinTrackSize.x);
    EXPECT_EQ(std::max(c.asked.height(), 681), info.ptMinTrackSize.y);
  }
}

// Only a shown size gives the window a new shape, and only a restored or maximised
// one repaints; every size puts the buttons where the layout of the new size has them.
TEST_F(SkinFrameTest, SizeTypesDecideRegionAndRepaint) {
  Open(kWidth, kHeight, 0);
  // A hidden window's resize waits until it is shown: WM_SIZE comes from the test.
  m_frame->host()->resize(1200, 800);
  const QRegion marker(0, 0, 5, 5);
  CRgn expected;
  expected.CreateRoundRectRgn(0, 0, 1201, 801, 5, 5);
  const skin::FrameLayout layout = skin::LayoutFrame(SIZE{1200, 800}, SIZE{16, 16});
  struct Case {
    UINT type;
    bool setsRegion;
    int paints;
  };
  for (const Case& c :
       {Case{SIZE_MINIMIZED, false, 0}, Case{SIZE_MAXHIDE, false, 0}, Case{SIZE_MAXSHOW, true, 0},
        Case{SIZE_RESTORED, true, 1}, Case{SIZE_MAXIMIZED, true, 1}}) {
    SCOPED_TRACE(testing::Message() << "size type " << c.type);
    m_frame->host()->setShape(marker);
    m_paints = 0;
    m_frame->SendMessage(WM_SIZE, c.type, MAKELPARAM(1200 - 6, 800 - 41));
    EXPECT_EQ(c.setsRegion ? expected.GetSafeHandle()->region : marker, m_frame->host()->shape());
    EXPECT_EQ(c.paints, m_paints);
    for (const platform::AccessibleCaptionButton& button : m_frame->AccessibleCaptionButtons())
      EXPECT_EQ(layout.Button(button.id), CRect(button.rect)) << button.id;
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
      {WM_NCACTIVATE, TRUE, TRUE}, {WM_NCACTIVATE, FALSE, TRUE}, {WM_UNINITMENUPOPUP, 0, 0},
      {WM_ACTIVATE, WA_ACTIVE, 0}, {WM_SYSCOMMAND, kKeyMenu, 0}, {WM_NCPAINT, 1, 0},
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

// The whole button shows its state's frame; the others keep theirs. The window
// sits at the screen's origin, so window points are screen points.
TEST_F(SkinFrameTest, ButtonsShowTheFrameOfTheirState) {
  UseColourCodedBackground();
  Open();
  Paint();
  const skin::FrameLayout layout = skin::LayoutFrame(SIZE{kWidth, kHeight}, SIZE{16, 16});
  const CRect close = layout.Button(skin::kCloseButtonId);
  const struct {
    UINT message;
    int frame;
  } steps[] = {{WM_NCMOUSEMOVE, 1}, {WM_NCLBUTTONDOWN, 2}};
  for (const auto& step : steps) {
    m_frame->SendMessage(step.message, HTCLOSE, MAKELPARAM(close.left + 2, close.top + 2));
    EXPECT_TRUE(AllPixels(Surface(), ToQRect(close), kCloseFrames[step.frame])) << step.frame;
    EXPECT_TRUE(
        AllPixels(Surface(), ToQRect(layout.Button(skin::kMaximizeButtonId)), kMaximizeFrames[0]));
    EXPECT_TRUE(
        AllPixels(Surface(), ToQRect(layout.Button(skin::kMinimizeButtonId)), kMinimizeFrames[0]));
  }
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
