#pragma once

#include <QString>

class QWebEngineLoadingInfo;

namespace runtime {

class BrowserImpl;

// Tells the browser's client when a load of the top frame has failed, with
// Chromium's network error code (negative) and text.
void ReportLoadFailure(BrowserImpl& browser, const QWebEngineLoadingInfo& info);

// Tells the client of a failed sub-frame when message is a sub-frame's failure
// report; returns whether it was one.
bool ReportFrameLoadFailure(BrowserImpl& browser, const QString& message);

}  // namespace runtime
