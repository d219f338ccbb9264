#include "platform/qt/instance_lock.h"

#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

// Record locks, not flock: they tell who holds them, which lets a later launch
// check that the socket it reached belongs to the lock's holder.
struct flock WholeFileWriteLock() {
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = 0;
  lock.l_len = 0;
  return lock;
}

}  // namespace

InstanceLock::InstanceLock(const std::string& path)
    // Close-on-exec: the engine's processes must not keep the file open. A record lock
    // goes when any descriptor of the file closes, so this is the process's only one.
    : m_fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600)) {}

InstanceLock::~InstanceLock() {
  if (m_fd >= 0) ::close(m_fd);
}

bool InstanceLock::TryAcquire() {
  if (m_fd < 0) return false;
  struct flock lock = WholeFileWriteLock();
  return ::fcntl(m_fd, F_SETLK, &lock) == 0;
}

pid_t InstanceLock::Holder() const {
  if (m_fd < 0) return 0;
  struct flock lock = WholeFileWriteLock();
  if (::fcntl(m_fd, F_GETLK, &lock) != 0 || lock.l_type == F_UNLCK) return 0;
  return lock.l_pid;
}

}  // namespace platform
