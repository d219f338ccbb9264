#pragma once

#include <functional>
#include <mutex>
#include <tuple>
#include <utility>

#include "runtime/cef_base.h"
#include "runtime/cef_types.h"

namespace base {

typedef std::function<void()> Closure;

// Binds a callable and its arguments into a closure; counted references passed
// by value stay held by the closure until it is destroyed.
template <class Functor, class... Args>
Closure Bind(Functor&& functor, Args&&... args) {
  return [functor = std::forward<Functor>(functor),
          bound = std::make_tuple(std::forward<Args>(args)...)]() mutable {
    std::apply([&](auto&... a) { std::invoke(functor, a...); }, bound);
  };
}

class Lock {
 public:
  void Acquire() { mutex_.lock(); }
  void Release() { mutex_.unlock(); }

 private:
  std::mutex mutex_;
};

class AutoLock {
 public:
  explicit AutoLock(Lock& lock) : lock_(lock) { lock_.Acquire(); }
  ~AutoLock() { lock_.Release(); }
  AutoLock(const AutoLock&) = delete;
  AutoLock& operator=(const AutoLock&) = delete;

 private:
  Lock& lock_;
};

}  // namespace base

// Queues a closure on the given runtime thread. Returns false if it cannot.
bool CefPostTask(CefThreadId threadId, const base::Closure& closure);
