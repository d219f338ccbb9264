#pragma once

#include <QString>

#include "runtime/cef_app.h"

namespace runtime {

// Lets the application set up a script context once, against a recording
// context, and returns what it set on the global object as a script that
// recreates it in a fresh document (empty when nothing was set). Only strings
// are recorded: any other value is left out, with a line on stderr.
QString RecordScriptBinding(CefRefPtr<CefApp> application);

}  // namespace runtime
