#pragma once

#include <QByteArray>

#include "runtime/cef_types.h"

namespace runtime {

// True when the command line is that of a Chromium sub-process (--type=...).
bool IsEngineSubprocess(const CefMainArgs& args);

// Makes the engine start every child process from this same executable, or from
// the given helper when one is named.
void UseExecutableForEngineProcesses(const CefString& helperPath);

// The engine flags that make the Chromium switches among args (--name[=value])
// take effect, added to existing flags. The engine itself reads only switches
// that follow its own marker, --webEngineArgs; with the marker present nothing
// is added.
QByteArray EngineFlagsWithSwitches(const QByteArray& existing, const CefMainArgs& args);

// Hands the Chromium switches among args to the engine, before it starts.
void ForwardEngineSwitches(const CefMainArgs& args);

// Lets the engine show its pages to assistive technologies whenever one is on.
void LetPagesReachAssistiveTechnologies();

// The process's Qt application, made from the main arguments unless one exists;
// contexts are shared so the engine can composite.
void EnsureGuiApplication(const CefMainArgs& args);

}  // namespace runtime
