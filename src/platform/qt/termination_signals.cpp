#include "platform/qt/termination_signals.h"

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace platform {
namespace {

// The write end that the handler uses; a signal handler may only write to it.
int g_signalFds[2] = {-1, -1};

void OnTerminationSignal(int signal) {
  const int saved = errno;
  const char byte = static_cast<char>(signal);
  // Nothing useful can be done about a full pipe here: one pending byte is enough.
  [[maybe_unused]] const ssize_t written = ::write(g_signalFds[0], &byte, 1);
  errno = saved;
}

void SetHandler(void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void()> onSignal)
    : m_onSignal(std::move(onSignal)) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalFds) != 0) return;
  m_notifier = new QSocketNotifier(g_signalFds[1], QSocketNotifier::Read, this);
  connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readSignal);
  SetHandler(OnTerminationSignal);
}

TerminationSignals::~TerminationSignals() {
  if (!m_notifier) return;
  SetHandler(SIG_DFL);
  ::close(g_signalFds[0]);
  ::close(g_signalFds[1]);
  g_signalFds[0] = g_signalFds[1] = -1;
}

void TerminationSignals::readSignal() {
  char byte;
  if (::read(g_signalFds[1], &byte, 1) == 1) m_onSignal();
}

}  // namespace platform
