#include "platform/qt/application.h"

#include <QApplication>

#include "platform/qt/frame_accessible.h"
#include "platform/qt/icon.h"
#include "platform/win_app.h"

namespace platform {

namespace {

void CreateApplication() {
  static int argc = 1;
  static char name[] = "vintrel";
  static char* fallbackArgv[] = {name, nullptr};
  CWinApp* app = AfxGetApp();
  char** argv = app && app->m_argv ? app->m_argv : fallbackArgv;
  if (app && app->m_argv) argc = app->m_argc;
  // Ended by EndApplication when the run that made it is over.
  new QApplication(argc, argv);
}

}  // namespace

void EnsureApplication() {
  if (!QCoreApplication::instance()) CreateApplication();
  // Every top-level window, the browser's own included, shows the executable's
  // icon unless it is given one of its own.
  if (QApplication::windowIcon().isNull()) QApplication::setWindowIcon(ExecutableIcon());
  InstallWindowAccessibility();
}

void EndApplication() {
  QCoreApplication* application = QCoreApplication::instance();
  if (!application) return;
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  delete application;
}

}  // namespace platform
