#include <QCoreApplication>

#include <optional>

#include "runtime/cef_app.h"
#include "runtime/qt/engine_environment.h"

namespace QtWebEngineCore {
int processMain(int argc, const char** argv);
}

namespace {

// The first code an engine child process runs after its own main().
int RunEngineSubprocess(const CefMainArgs& args) {
  static int argc = args.argc;
  std::optional<QCoreApplication> application;
  if (!QCoreApplication::instance()) application.emplace(argc, args.argv);
  return QtWebEngineCore::processMain(argc, const_cast<const char**>(args.argv));
}

}  // namespace

int CefExecuteProcess(const CefMainArgs& args, CefRefPtr<CefApp> /*application*/,
                      void* /*windows_sandbox_info*/) {
  if (runtime::IsEngineSubprocess(args)) return RunEngineSubprocess(args);
  runtime::UseExecutableForEngineProcesses(CefString());
  return -1;
}
