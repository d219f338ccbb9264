#pragma once

#include <QCoreApplication>
#include <QObject>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

#include "app/vintrel_app.h"
#include "fakes/fake_runtime.h"
#include "mainwnd/main_frm.h"
#include "platform/unreached/docking.h"
#include "platform/unreached/visual_managers.h"

// Helpers shared by the application-look tests.
namespace look_test {

constexpr wchar_t kRegistryKey[] = L"Local AppWizard-Generated Applications";

// The user settings of every QSettings made while it lives go to a fresh folder;
// afterwards they go where they went before.
class ConfigFolder {
 public:
  ConfigFolder() { Use(m_dir.path()); }
  ~ConfigFolder() { Use(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)); }
  ConfigFolder(const ConfigFolder&) = delete;
  ConfigFolder& operator=(const ConfigFolder&) = delete;

 private:
  static void Use(const QString& path) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path);
  }
  QTemporaryDir m_dir;
};

// The application object as start-up leaves it for the frame: its settings store
// and its context-menu manager.
inline std::unique_ptr<CVintrelApp> StartApp() {
  auto app = std::make_unique<CVintrelApp>();
  app->SetRegistryKey(kRegistryKey);
  app->InitContextMenuManager();
  return app;
}

// A main window that an earlier test destroyed asked the event loop to quit, and
// until a loop takes that request every modal loop would end at once.
inline void TakePendingQuit() {
  QObject context;
  QTimer::singleShot(0, &context, [] { QCoreApplication::exit(0); });
  QCoreApplication::exec();
}

// The process-wide look state as a fresh process has it.
inline void ResetLookState() {
  CMFCVisualManager::DestroyInstance();
  CMFCVisualManagerWindows::m_b3DTabsXPTheme = FALSE;
  CMFCVisualManagerOffice2007::SetStyle(CMFCVisualManagerOffice2007::Office2007_LunaBlue);
  CDockingManager::SetDockingMode(DT_STANDARD);
}

}  // namespace look_test
