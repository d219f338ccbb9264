#include "platform/qt/large_allocations.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace platform {

void KeepLargeAllocationsReturnable() {
#if defined(__GLIBC__)
  // Setting the threshold also turns off glibc's raising of it, and with it the
  // matching rise of the amount of free memory it keeps at the top of its heap.
  mallopt(M_MMAP_THRESHOLD, static_cast<int>(kOwnPagesFromBytes));
#endif
}

}  // namespace platform
