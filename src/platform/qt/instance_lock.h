#pragma once

#include <sys/types.h>

#include <string>

namespace platform {

// A lock file whose lock the kernel drops with the process that holds it, so a
// crashed shell leaves nothing that stops the next one. Taking it never waits.
class InstanceLock {
 public:
  explicit InstanceLock(const std::string& path);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // False when the file could not be opened or made.
  bool IsOpen() const { return m_fd >= 0; }
  // True when this process holds the lock now.
  bool TryAcquire();
  // The process that holds the lock, or 0 when nobody does or it cannot be told.
  pid_t Holder() const;

 private:
  int m_fd = -1;
};

}  // namespace platform
