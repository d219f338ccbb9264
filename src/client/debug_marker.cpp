#include "client/debug_marker.h"

#include <cwchar>

#include "platform/system.h"

namespace {
constexpr wchar_t kMarkerName[] = L"/debug";
}

bool DebugMarkerExists() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetCurrentDirectoryW(MAX_PATH, path);
  // A failed read, or no room left for the marker's name and the terminator.
  if (length == 0 || length + std::wcslen(kMarkerName) >= MAX_PATH) return false;
  lstrcatW(path, kMarkerName);
  return PathFileExistsW(path) != 0;
}
