#include "platform/qt/large_allocations.h"

#include <gtest/gtest.h>

#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif
#if __has_include(<valgrind/valgrind.h>)
#include <valgrind/valgrind.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#define VINTREL_OWN_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VINTREL_OWN_ALLOCATOR 1
#endif
#endif

namespace {

#if defined(__GLIBC__) && !defined(VINTREL_OWN_ALLOCATOR)

constexpr std::size_t kMiB = 1024 * 1024;
// Once freed, a block this big raises glibc's threshold to its size (it raises it up to
// 32 MiB on 64-bit systems).
constexpr std::size_t kRaisingBlock = 31 * kMiB;

// Under valgrind its own allocator stands in for glibc's, whatever the build.
bool UnderValgrind() {
#if defined(RUNNING_ON_VALGRIND)
  return RUNNING_ON_VALGRIND != 0;
#else
  return false;
#endif
}

// Bytes the allocator holds in pages of their own, which go back as each block is freed.
std::size_t OwnPagesBytes() { return mallinfo2().hblkhd; }
// Free bytes kept in its heaps: a block of more cannot be cut from them.
std::size_t FreeHeapBytes() { return mallinfo2().fordblks; }

// A block the allocator really hands out: written, so that it is not optimised away.
void* Touched(std::size_t bytes) {
  void* block = std::malloc(bytes);
  if (block) static_cast<volatile char*>(block)[bytes - 1] = 1;
  return block;
}

TEST(LargeAllocations, StayReturnableAfterAWindowSizedBufferWasFreed) {
  if (UnderValgrind()) GTEST_SKIP() << "glibc's allocator is not the one in use";
  platform::KeepLargeAllocationsReturnable();
  std::free(Touched(kRaisingBlock));
  for (const std::size_t extra : {platform::kOwnPagesFromBytes, 6 * kMiB}) {
    // More than the heaps hold free, so that it must come from new pages.
    const std::size_t bytes = FreeHeapBytes() + extra;
    ASSERT_LT(bytes, kRaisingBlock) << "the heaps hold too much free memory to tell";
    SCOPED_TRACE(bytes);
    const std::size_t before = OwnPagesBytes();
    void* block = Touched(bytes);
    ASSERT_NE(nullptr, block);
    EXPECT_GE(OwnPagesBytes(), before + bytes);
    std::free(block);
    EXPECT_EQ(before, OwnPagesBytes());
  }
}

#else

TEST(LargeAllocations, StayReturnableAfterAWindowSizedBufferWasFreed) {
  GTEST_SKIP() << "glibc's allocator is not the one in use";
}

#endif

}  // namespace
