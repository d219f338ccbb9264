#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include "engine_fixture.h"
#include "runtime/qt/context_menu.h"

namespace runtime_test {
namespace {

constexpr int kSelectAllCommand = runtime::kEngineCommandFirst + QWebEnginePage::SelectAll;

TEST_F(EngineTest, RightClickShowsTheClientsMenuAndCarriesOutTheEnginesOwnCommands) {
  client->menuItems = {{0, "Refresh"}, {kSelectAllCommand, "Select &All"}};
  QWebEnginePage* page = openLoadedPage(
      writeFile("menu.html", "<html><body><p>some text to select</p></body></html>"));
  ASSERT_TRUE(page);
  QWebEngineView* view = ViewOf(client->created.back());

  // The menu runs its own event loop; a timer looks at it and picks an item by
  // its access key.
  QStringList shownLabels;
  QTimer picker;
  QObject::connect(&picker, &QTimer::timeout, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) return;
    picker.stop();
    for (QAction* action : menu->actions()) shownLabels << action->text();
    QTest::keyClick(menu, Qt::Key_A);
  });
  picker.start(50);
  QWidget* surface = view->focusProxy() ? view->focusProxy() : view;
  QTest::mouseClick(surface, Qt::RightButton, {}, QPoint(20, 20));

  ASSERT_TRUE(WaitUntil([&] { return !client->commands.empty(); }));
  EXPECT_EQ(shownLabels, QStringList({"Refresh", "Select &All"}));
  EXPECT_EQ(client->commands, std::vector<int>{kSelectAllCommand});
  EXPECT_TRUE(client->menuTypeFlags & CM_TYPEFLAG_PAGE);
  EXPECT_GT(client->engineItemCount, 0);
  // Not handled by the client, so the engine selected the page's text.
  EXPECT_EQ(EvaluateUntil(page, "window.getSelection().toString().trim()", "some text to select"),
            "some text to select");
}

}  // namespace
}  // namespace runtime_test
