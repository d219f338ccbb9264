// Start-up and shut-down of the drawing library: sessions by token.
#include <set>

#include "platform/gdiplus.h"

namespace Gdiplus {

namespace {

struct Library {
  std::set<ULONG_PTR> sessions;
  ULONG_PTR nextToken = 1;
  LibraryCounters counters;
};

Library& TheLibrary() {
  static Library library;
  return library;
}

}  // namespace

Status GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input,
                      GdiplusStartupOutput* /*output*/) {
  if (!token || !input) return InvalidParameter;
  if (input->GdiplusVersion != 1) return UnsupportedGdiplusVersion;
  Library& library = TheLibrary();
  *token = library.nextToken++;
  library.sessions.insert(*token);
  ++library.counters.startups;
  return Ok;
}

void GdiplusShutdown(ULONG_PTR token) {
  Library& library = TheLibrary();
  library.sessions.erase(token);
  ++library.counters.shutdowns;
}

LibraryCounters GetLibraryCounters() { return TheLibrary().counters; }

}  // namespace Gdiplus
