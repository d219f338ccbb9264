#pragma once

#include <atomic>
#include <cstddef>
#include <utility>

// The runtime's reference counting: every object shared with the runtime derives
// (virtually) from CefBase and is held through CefRefPtr.
class CefBase {
 public:
  virtual void AddRef() const = 0;
  virtual bool Release() const = 0;
  virtual bool HasOneRef() const = 0;

 protected:
  virtual ~CefBase() = default;
};

class CefRefCount {
 public:
  void AddRef() const { count_.fetch_add(1, std::memory_order_relaxed); }
  bool Release() const { return count_.fetch_sub(1, std::memory_order_acq_rel) == 1; }
  bool HasOneRef() const { return count_.load(std::memory_order_acquire) == 1; }

 private:
  mutable std::atomic<int> count_{0};
};

#define IMPLEMENT_REFCOUNTING(ClassName)                             \
 public:                                                             \
  void AddRef() const override { ref_count_.AddRef(); }              \
  bool Release() const override {                                    \
    if (ref_count_.Release()) {                                      \
      delete static_cast<const ClassName*>(this);                    \
      return true;                                                   \
    }                                                                \
    return false;                                                    \
  }                                                                  \
  bool HasOneRef() const override { return ref_count_.HasOneRef(); } \
                                                                     \
 private:                                                            \
  CefRefCount ref_count_

template <class T>
class CefRefPtr {
 public:
  CefRefPtr() = default;
  CefRefPtr(std::nullptr_t) {}
  CefRefPtr(T* p) : ptr_(p) {
    if (ptr_) ptr_->AddRef();
  }
  CefRefPtr(const CefRefPtr& other) : CefRefPtr(other.ptr_) {}
  template <class U>
  CefRefPtr(const CefRefPtr<U>& other) : CefRefPtr(other.get()) {}
  CefRefPtr(CefRefPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
  ~CefRefPtr() {
    if (ptr_) ptr_->Release();
  }

  CefRefPtr& operator=(CefRefPtr other) noexcept {
    std::swap(ptr_, other.ptr_);
    return *this;
  }

  T* get() const { return ptr_; }
  T* operator->() const { return ptr_; }
  T& operator*() const { return *ptr_; }
  explicit operator bool() const { return ptr_ != nullptr; }
  bool operator==(const CefRefPtr& other) const { return ptr_ == other.ptr_; }
  bool operator!=(const CefRefPtr& other) const { return ptr_ != other.ptr_; }
  bool operator==(std::nullptr_t) const { return ptr_ == nullptr; }
  bool operator!=(std::nullptr_t) const { return ptr_ != nullptr; }

 private:
  T* ptr_ = nullptr;
};
