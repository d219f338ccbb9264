#pragma once

#include <QString>

#include <optional>

namespace runtime {

// The engine reports only the main frame's load failures to the application.
// A sub-frame that fails shows the engine's error document; a script in that
// document reads the error's name and address, reports them as a console
// message, and thereafter accepts a page or an address to show instead, sent to
// it by window messages carrying its own random token.

// The script, for every sub-frame at document creation.
QString FrameErrorReporterScript();

struct FrameLoadError {
  QString token;  // addresses the failed frame
  int code;
  QString text;
  QString url;
};

// The failure a console message reports, if it is such a report.
std::optional<FrameLoadError> ParseFrameErrorReport(const QString& message);

// A script for the top frame that makes the failed frame show html.
QString ShowHtmlInFrameScript(const QString& token, const QString& html);
// A script for the top frame that makes the failed frame load url.
QString LoadUrlInFrameScript(const QString& token, const QString& url);

}  // namespace runtime
