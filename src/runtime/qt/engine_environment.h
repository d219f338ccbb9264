#pragma once

#include "runtime/cef_types.h"

namespace runtime {

// True when the command line is that of a Chromium sub-process (--type=...).
bool IsEngineSubprocess(const CefMainArgs& args);

// Makes the engine start every child process from this same executable, or from
// the given helper when one is named.
void UseExecutableForEngineProcesses(const CefString& helperPath);

// Turns the engine's sandbox off for all of its processes.
void DisableEngineSandbox();

// The process's Qt application, made from the main arguments unless one exists;
// contexts are shared so the engine can composite.
void EnsureGuiApplication(const CefMainArgs& args);

}  // namespace runtime
