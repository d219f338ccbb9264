#pragma once

#include <string>

#include "runtime/cef_string.h"

// The folder where the profile of a runtime initialised with cachePath keeps its
// cache and storage (UTF-8), made ready for writing; empty when the profile will
// live in memory. The shell keys what must not be shared between processes on it.
std::string CefProfileStorageFolder(const CefString& cachePath);
