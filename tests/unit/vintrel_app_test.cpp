#include "app/vintrel_app.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <ostream>
#include <string>
#include <utility>

#include "fakes/fake_runtime.h"
#include "mainwnd/main_frm.h"
#include "platform/command_ids.h"
#include "platform/unreached/managers.h"
#include "res/resource.h"
#include "skin/skin_image_store.h"

namespace {

// Start-up and shutdown of the application object against the fake runtime, with
// its settings in a folder of the test's own.
class VintrelAppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A main window destroyed by an earlier test has posted its quit, which would end
    // the next loop to run: the About dialog's. A loop of the test's own takes it.
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    FakeRuntime::Get().Reset();
    m_config = QDir::tempPath().toStdString() + "/vintrel-app-test-" + std::to_string(getpid());
    setenv("XDG_CONFIG_HOME", m_config.c_str(), 1);
    setenv("LANG", "de_DE.UTF-8", 1);
    app.m_argc = 1;
    app.m_argv = m_argv;
  }
  void TearDown() override {
    // Closed as the user closes it, so the document goes with the window.
    if (app.m_pMainWnd) app.m_pMainWnd->SendMessage(WM_CLOSE, 0, 0);
    g_handler = nullptr;
    CSkinImageStore::DestroyInstance();
    QDir(QString::fromStdString(m_config)).removeRecursively();
  }

  // The command line "vintrel <argument>".
  void SetCommandLineArgument(std::string argument) {
    m_argument = std::move(argument);
    m_argv[1] = m_argument.data();
    app.m_argc = 2;
  }

  CVintrelApp app;

 private:
  std::string m_config;
  std::string m_argument;
  char m_name[8] = "vintrel";
  char* m_argv[3] = {m_name, nullptr, nullptr};
};

TEST_F(VintrelAppTest, AnEngineSubProcessEndsInsideTheRuntimeWithoutSettingsOrWindow) {
  FakeRuntime::Get().executeProcessResult = 0;
  EXPECT_EQ(app.InitInstance(), 0);
  EXPECT_TRUE(FakeRuntime::Get().initializeCalls.empty());
  EXPECT_EQ(app.m_pMainWnd, nullptr);
  EXPECT_FALSE(CSkinImageStore::GetInstance()->m_strSkinRoot.IsEmpty()) << "the skin step ran";
  EXPECT_NE(app.GetContextMenuManager(), nullptr);
  EXPECT_EQ(app.GetTooltipManager(), nullptr) << "nothing after the sub-process dispatch";
  app.ExitInstance();
}

TEST_F(VintrelAppTest, TheMainProcessInitialisesTheRuntimeAndShowsOneMaximisedWindow) {
  ASSERT_EQ(app.InitInstance(), 1);
  ASSERT_EQ(FakeRuntime::Get().initializeCalls.size(), 1u);
  const CefSettings& settings = FakeRuntime::Get().initializeCalls[0];
  EXPECT_EQ(settings.no_sandbox, 0);
  EXPECT_EQ(settings.multi_threaded_message_loop, 1);
  EXPECT_EQ(settings.windowless_rendering_enabled, 1);
  EXPECT_EQ(settings.cache_path.ToString(), "cache");
  EXPECT_EQ(settings.locale.ToString(), "de");
  EXPECT_EQ(settings.background_color, 0x02FFFFFFu);
  EXPECT_EQ(settings.single_process, 0);
  EXPECT_TRUE(settings.browser_subprocess_path.empty());

  CWnd* frame = app.m_pMainWnd;
  ASSERT_NE(dynamic_cast<CMainFrame*>(frame), nullptr);
  EXPECT_TRUE(frame->IsWindowVisible());
  EXPECT_TRUE(frame->IsZoomed());
  EXPECT_EQ(FakeRuntime::Get().createdBrowsers.size(), 1u);
  EXPECT_EQ(app.GetContextMenuManager()->GetMenuByName(L"Edit"), UINT{IDR_POPUP_EDIT});
  EXPECT_TRUE(app.GetTooltipManager()->params().m_bVislManagerTheme);
}

TEST_F(VintrelAppTest, AboutCommandFromTheFrameShowsAFreshModalDialogEachTime) {
  ASSERT_EQ(app.InitInstance(), 1);
  for (int i = 0; i < 2; ++i) {
    QString shownTitle;
    QTimer::singleShot(0, [&] {
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(widget);
        if (!dialog || !dialog->isVisible()) continue;
        shownTitle = dialog->windowTitle();
        dialog->accept();
      }
    });
    app.m_pMainWnd->SendMessage(WM_COMMAND, ID_APP_ABOUT, 0);
    EXPECT_EQ(shownTitle, QString::fromUtf8("关于  非客户区标题栏自绘"));
  }
  EXPECT_TRUE(app.m_pMainWnd->IsWindowVisible());
}

TEST_F(VintrelAppTest, ARegisterOnlyCommandLineEndsStartUp) {
  SetCommandLineArgument("-Register");
  EXPECT_EQ(app.InitInstance(), 0);
  EXPECT_EQ(app.m_pMainWnd, nullptr);
  EXPECT_EQ(app.ExitInstance(), 0);
}

TEST_F(VintrelAppTest, ADocumentThatCannotBeReadGetsTheFrameworksMessageAndEndsStartUp) {
  SetCommandLineArgument("/nonexistent/vintrel-document.txt");
  QString shownText;
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(widget);
      if (!box || !box->isVisible()) continue;
      shownText = box->text();
      box->accept();
    }
  });
  answer.start(10);
  EXPECT_EQ(app.InitInstance(), 0);
  EXPECT_EQ(shownText,
            "/nonexistent/vintrel-document.txt\nCannot find this file.\nPlease verify that the "
            "correct path and file name are given.");
  EXPECT_EQ(app.m_pMainWnd, nullptr);
  EXPECT_NE(app.ExitInstance(), 0);
}

struct StartupFailure {
  const char* name;
  bool engineStarts;
  const char* line;
};

// Printed by name: the bytes of the struct include padding.
void PrintTo(const StartupFailure& failure, std::ostream* os) { *os << failure.name; }

class StartupFailureTest : public VintrelAppTest,
                           public testing::WithParamInterface<StartupFailure> {};

TEST_P(StartupFailureTest, SaysWhyOnOneLineAndEndsWithoutAWindowAndWithAFailureStatus) {
  FakeRuntime::Get().initializeResult = GetParam().engineStarts;
  FakeRuntime::Get().createBrowserResult = false;
  testing::internal::CaptureStderr();
  EXPECT_EQ(app.InitInstance(), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), GetParam().line);
  EXPECT_EQ(app.m_pMainWnd, nullptr);
  const QWidgetList windows = QApplication::topLevelWidgets();
  EXPECT_TRUE(std::none_of(windows.begin(), windows.end(),
                           [](const QWidget* window) { return window->isVisible(); }));
  EXPECT_NE(app.ExitInstance(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StartupFailureTest,
    testing::Values(StartupFailure{"engine", false,
                                   "vintrel: the browser engine could not be started\n"},
                    StartupFailure{"browser", true, "vintrel: the browser could not be created\n"}),
    [](const auto& test) { return std::string(test.param.name); });

}  // namespace
