#include <QImage>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include "engine_fixture.h"

namespace runtime_test {
namespace {

// Alpha 2 only switches the colour on; the page shows it opaque.
constexpr cef_color_t kRuntimeBackground = 0x0200C040;
const QColor kExpected(0x00, 0xC0, 0x40);

class BackgroundTest : public EngineTest {
 protected:
  void SetUp() override {
    settings.background_color = kRuntimeBackground;
    EngineTest::SetUp();
  }
};

TEST_F(BackgroundTest, PagesWithoutABackgroundOfTheirOwnShowTheRuntimesColour) {
  QWebEngineView* view = ViewOf(openBrowser(writeFile("plain.html", "<html><body></body></html>")));
  ASSERT_TRUE(view);
  QColor centre;
  EXPECT_TRUE(WaitUntil([&] {
    centre = view->grab().toImage().pixelColor(view->width() / 2, view->height() / 2);
    return centre == kExpected;
  })) << centre.name().toStdString();
}

}  // namespace
}  // namespace runtime_test

namespace runtime_test {
namespace {

class LocaleTest : public EngineTest, public testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override {
    settings.locale = GetParam();
    EngineTest::SetUp();
  }
};

TEST_P(LocaleTest, PagesReadTheLocaleAsGiven) {
  QWebEnginePage* page = openLoadedPage(writeFile("plain.html", "<html></html>"));
  ASSERT_TRUE(page);
  EXPECT_EQ(Evaluate(page, "navigator.language"), GetParam());
}

// A region that is the language's default must stay.
INSTANTIATE_TEST_SUITE_P(Table, LocaleTest, testing::Values("de", "en-US", "zh-TW"));

}  // namespace
}  // namespace runtime_test
