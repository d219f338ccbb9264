#include "runtime/qt/engine_environment.h"
#include "runtime/qt/qt_strings.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <cstring>

namespace runtime {

namespace {

constexpr char kProcessTypeSwitch[] = "--type=";
constexpr char kProcessPathVariable[] = "QTWEBENGINEPROCESS_PATH";
constexpr char kOwnExecutable[] = "/proc/self/exe";
constexpr char kChromiumFlagsVariable[] = "QTWEBENGINE_CHROMIUM_FLAGS";
constexpr char kEngineArgsMarker[] = "--webEngineArgs";
constexpr char kSwitchPrefix[] = "--";
constexpr char kLinuxAccessibilityVariable[] = "QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY";

}  // namespace

bool IsEngineSubprocess(const CefMainArgs& args) {
  if (!args.argv) return false;
  for (int i = 1; i < args.argc; ++i) {
    const char* arg = args.argv[i];
    if (arg && std::strncmp(arg, kProcessTypeSwitch, sizeof(kProcessTypeSwitch) - 1) == 0)
      return true;
  }
  return false;
}

void UseExecutableForEngineProcesses(const CefString& helperPath) {
  const QString path = helperPath.empty()
                           ? QFileInfo(QString::fromLatin1(kOwnExecutable)).canonicalFilePath()
                           : ToQString(helperPath);
  if (!path.isEmpty()) qputenv(kProcessPathVariable, QFile::encodeName(path));
}

QByteArray EngineFlagsWithSwitches(const QByteArray& existing, const CefMainArgs& args) {
  QByteArray flags = existing;
  for (int i = 1; args.argv && i < args.argc; ++i) {
    const QByteArray arg(args.argv[i] ? args.argv[i] : "");
    if (arg == kEngineArgsMarker) return existing;
    if (!arg.startsWith(kSwitchPrefix) || arg.size() == 2) continue;
    if (!flags.isEmpty()) flags += ' ';
    flags += arg;
  }
  return flags;
}

void ForwardEngineSwitches(const CefMainArgs& args) {
  qputenv(kChromiumFlagsVariable, EngineFlagsWithSwitches(qgetenv(kChromiumFlagsVariable), args));
}

void LetPagesReachAssistiveTechnologies() {
  // Without the variable the engine keeps every page out of the accessibility
  // tree. With it, the engine still builds a page's tree only once an assistive
  // technology has turned the toolkit's accessibility on, so without one nothing
  // is spent. A value the user set stays.
  if (!qEnvironmentVariableIsSet(kLinuxAccessibilityVariable))
    qputenv(kLinuxAccessibilityVariable, "1");
}

void EnsureGuiApplication(const CefMainArgs& args) {
  if (QCoreApplication::instance()) return;
  // The application keeps references to these for its whole life.
  static char programName[] = "vintrel";
  static char* fallbackArgv[] = {programName, nullptr};
  static int argc = 1;
  char** argv = fallbackArgv;
  if (args.argv && args.argc > 0) {
    argc = args.argc;
    argv = args.argv;
  }
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  new QApplication(argc, argv);  // ended by whoever runs the application
}

}  // namespace runtime
