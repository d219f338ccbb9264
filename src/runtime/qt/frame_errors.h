#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace runtime {

// The engine reports only the main frame's load failures to the application.
// A sub-frame that fails shows the engine's error document; a script in that
// document reads the error's name and address, reports them as a console
// message with where the frame is and a random token, and thereafter accepts a
// page or an address to show instead from the top frame, over a channel the
// top frame offers to that frame's window alone and uses only once the other
// end has shown the token.

// The script, for every sub-frame at document creation.
QString FrameErrorReporterScript();

struct FrameAddress {
  QString token;
  QList<int> path;  // index among the parent's frames, from the top frame down
};

struct FrameLoadError {
  FrameAddress frame;
  int code;
  QString text;
  QString url;
};

// The failure a console message reports, if it is such a report.
std::optional<FrameLoadError> ParseFrameErrorReport(const QString& message);

// A script for the top frame that makes the failed frame show html.
QString ShowHtmlInFrameScript(const FrameAddress& frame, const QString& html);
// A script for a top frame whose load failed that shows html in place of the
// engine's error document.
QString ShowHtmlInErrorDocumentScript(const QString& html);
// A script for the top frame that makes the failed frame load url.
QString LoadUrlInFrameScript(const FrameAddress& frame, const QString& url);

}  // namespace runtime
