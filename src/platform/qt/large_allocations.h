#pragma once

#include <cstddef>

namespace platform {

// Allocations of at least this many bytes get pages of their own, which go back to
// the system when freed. glibc starts at this value but raises it to the largest
// such block freed so far (up to 32 MiB): after the first window-sized buffer, the
// next ones (a resize makes new ones at every step) come from its heaps, and what
// they leave behind stays resident there.
constexpr std::size_t kOwnPagesFromBytes = 128 * 1024;

// Fixes that threshold for the whole process; called first thing, before any
// large buffer exists.
void KeepLargeAllocationsReturnable();

}  // namespace platform
