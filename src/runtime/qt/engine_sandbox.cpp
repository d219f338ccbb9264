#include "runtime/qt/engine_sandbox.h"

#include <QByteArray>

#include <sched.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace runtime {

namespace {

// The engine's own switch; set by the user, it is an explicit opt-out.
constexpr char kDisableSandboxVariable[] = "QTWEBENGINE_DISABLE_SANDBOX";
// The same for the engine's processes, without the engine's own remark that
// the user turned it off.
constexpr char kChromiumFlagsVariable[] = "QTWEBENGINE_CHROMIUM_FLAGS";
constexpr char kNoSandboxSwitch[] = "--no-sandbox";

bool UserTurnedSandboxOff() { return !qEnvironmentVariableIsEmpty(kDisableSandboxVariable); }

void TurnSandboxOff() {
  QByteArray flags = qgetenv(kChromiumFlagsVariable);
  if (!flags.isEmpty()) flags += ' ';
  qputenv(kChromiumFlagsVariable, flags + kNoSandboxSwitch);
}

// The engine builds its sandbox from a new user namespace (with PID and
// network namespaces inside it). Whether this user may make one depends on the
// kernel, its settings and any security module, so it is tried: in a child,
// since a process with threads cannot enter a new user namespace.
bool CanCreateUserNamespace() {
  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) _exit(unshare(CLONE_NEWUSER) == 0 ? 0 : 1);
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Why the sandbox cannot run here, or null when it can.
const char* SandboxObstacle() {
  if (geteuid() == 0) return "the engine refuses it to root";
  if (!CanCreateUserNamespace()) return "this system does not let users create user namespaces";
  return nullptr;
}

}  // namespace

void ChooseEngineSandbox(bool turnedOff) {
  if (UserTurnedSandboxOff()) return;
  if (turnedOff) {
    TurnSandboxOff();
    return;
  }
  const char* obstacle = SandboxObstacle();
  if (!obstacle) return;
  TurnSandboxOff();
  std::fprintf(stderr, "vintrel: web pages run without the engine's sandbox: %s\n", obstacle);
}

}  // namespace runtime
