#include "platform/qt/application.h"

#include <QApplication>

#include "platform/win_app.h"

namespace platform {

void EnsureApplication() {
  if (QCoreApplication::instance()) return;
  static int argc = 1;
  static char name[] = "vintrel";
  static char* fallbackArgv[] = {name, nullptr};
  CWinApp* app = AfxGetApp();
  char** argv = app && app->m_argv ? app->m_argv : fallbackArgv;
  if (app && app->m_argv) argc = app->m_argc;
  // Ended by EndApplication when the run that made it is over.
  new QApplication(argc, argv);
}

void EndApplication() {
  QCoreApplication* application = QCoreApplication::instance();
  if (!application) return;
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  delete application;
}

}  // namespace platform
