#include "runtime/qt/frame_errors.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include "runtime/qt/net_errors.h"

namespace runtime {

namespace {

constexpr char kReportPrefix[] = "\x01vintrel-frame-load-error ";
constexpr char kTokenKey[] = "vintrelFrameToken";
constexpr char kPathKey[] = "path";
constexpr char kHtmlKey[] = "html";
constexpr char kUrlKey[] = "url";
constexpr char kErrorKey[] = "error";
// What the top frame posts to the failed frame's window, with a channel: nothing
// that tells another document anything, should another have taken its place.
constexpr char kChannelOffer[] = "vintrel-frame-channel";

// The failed frame reports where it is below the top (its index among its
// parent's frames, level by level) and a random token. It then answers a
// channel from the top frame with the token, and takes one request from it.
constexpr char kReporterTemplate[] = R"JS((function () {
  if (window === window.top || location.href !== 'chrome-error://chromewebdata/') return;
  var token = Array.prototype.map.call(crypto.getRandomValues(new Uint32Array(4)),
      function (n) { return n.toString(36); }).join('');
  function framePath() {
    var path = [];
    for (var w = window; w !== w.top; w = w.parent) {
      var siblings = w.parent.frames, i = 0;
      while (i < siblings.length && siblings[i] !== w) ++i;
      path.unshift(i);
    }
    return path;
  }
  window.addEventListener('message', function (event) {
    if (event.source !== window.top || event.data !== %OFFER% || event.ports.length !== 1) return;
    var port = event.ports[0];
    port.onmessage = function (reply) {
      port.close();
      var request = reply.data || {};
      if (typeof request.%HTML% === 'string') {
        document.open();
        document.write(request.%HTML%);
        document.close();
      } else if (typeof request.%URL% === 'string') {
        location.replace(request.%URL%);
      }
    };
    port.postMessage(token);
  });
  document.addEventListener('DOMContentLoaded', function () {
    var data = (window.loadTimeData && loadTimeData.data_) || {};
    var summary = data.summary || {};
    console.debug(%PREFIX% + JSON.stringify({%TOKEN%: token, %PATH%: framePath(),
        %ERROR%: data.errorCode || '', %URL%: summary.failedUrl || ''}));
  });
})();
)JS";

// Runs in the top frame: offers the frame at the path a channel, and sends the
// request only once the other end has shown the failed frame's token.
constexpr char kDeliveryTemplate[] = R"JS((function (path, token, request) {
  var target = window;
  for (var i = 0; i < path.length && target; ++i) target = target.frames[path[i]];
  if (!target || target === window) return;
  var channel = new MessageChannel();
  channel.port1.onmessage = function (event) {
    if (event.data === token) channel.port1.postMessage(request);
    else channel.port1.close();
  };
  target.postMessage(%OFFER%, '*', [channel.port2]);
})(%PATH%, %TOKEN%, %REQUEST%);
)JS";

// Runs in a top frame whose load failed: replaces the engine's error document
// there, if the frame still shows it. That document has no origin any page
// shares, and the frame keeps the failed address, which a reload tries again.
constexpr char kErrorDocumentTemplate[] = R"JS((function (html) {
  if (location.href !== 'chrome-error://chromewebdata/') return;
  document.open();
  document.write(html);
  document.close();
})(%HTML%);
)JS";

QString JsonText(const QJsonObject& object) {
  return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

// A JSON value as script text: a string literal, with its quotes.
QString ScriptLiteral(const QJsonValue& value) {
  const QString array =
      QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact));
  return array.mid(1, array.size() - 2);
}

QString DeliveryScript(const FrameAddress& frame, const char* key, const QString& value) {
  QJsonArray path;
  for (const int index : frame.path) path.append(index);
  return QString::fromLatin1(kDeliveryTemplate)
      .replace(QLatin1String("%OFFER%"), ScriptLiteral(QLatin1String(kChannelOffer)))
      .replace(QLatin1String("%PATH%"),
               QString::fromUtf8(QJsonDocument(path).toJson(QJsonDocument::Compact)))
      .replace(QLatin1String("%TOKEN%"), ScriptLiteral(frame.token))
      .replace(QLatin1String("%REQUEST%"), JsonText(QJsonObject{{QLatin1String(key), value}}));
}

}  // namespace

QString FrameErrorReporterScript() {
  return QString::fromLatin1(kReporterTemplate)
      .replace(QLatin1String("%OFFER%"), ScriptLiteral(QLatin1String(kChannelOffer)))
      .replace(QLatin1String("%TOKEN%"), QLatin1String(kTokenKey))
      .replace(QLatin1String("%PATH%"), QLatin1String(kPathKey))
      .replace(QLatin1String("%HTML%"), QLatin1String(kHtmlKey))
      .replace(QLatin1String("%URL%"), QLatin1String(kUrlKey))
      .replace(QLatin1String("%ERROR%"), QLatin1String(kErrorKey))
      .replace(QLatin1String("%PREFIX%"), ScriptLiteral(QString::fromLatin1(kReportPrefix)));
}

std::optional<FrameLoadError> ParseFrameErrorReport(const QString& message) {
  if (!message.startsWith(QLatin1String(kReportPrefix))) return std::nullopt;
  const QJsonObject report =
      QJsonDocument::fromJson(message.mid(sizeof(kReportPrefix) - 1).toUtf8()).object();
  const QString token = report.value(QLatin1String(kTokenKey)).toString();
  const QString name = report.value(QLatin1String(kErrorKey)).toString();
  const QJsonArray path = report.value(QLatin1String(kPathKey)).toArray();
  if (token.isEmpty() || name.isEmpty() || path.isEmpty()) return std::nullopt;
  FrameAddress frame{token, {}};
  for (const QJsonValue& index : path) frame.path.append(index.toInt());
  // A name without a known number keeps the engine's own page, which names it truthfully.
  const std::optional<int> code = NetErrorCodeOf(name);
  if (!code) return std::nullopt;
  return FrameLoadError{frame, *code, NetErrorTextOf(name),
                        report.value(QLatin1String(kUrlKey)).toString()};
}

QString ShowHtmlInFrameScript(const FrameAddress& frame, const QString& html) {
  return DeliveryScript(frame, kHtmlKey, html);
}

QString ShowHtmlInErrorDocumentScript(const QString& html) {
  return QString::fromLatin1(kErrorDocumentTemplate)
      .replace(QLatin1String("%HTML%"), ScriptLiteral(html));
}

QString LoadUrlInFrameScript(const FrameAddress& frame, const QString& url) {
  return DeliveryScript(frame, kUrlKey, url);
}

}  // namespace runtime
