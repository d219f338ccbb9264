#include "runtime/qt/frame_errors.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "runtime/qt/net_errors.h"

namespace runtime {

namespace {

constexpr char kReportPrefix[] = "\x01vintrel-frame-load-error ";
constexpr char kTokenKey[] = "vintrelFrameToken";
constexpr char kHtmlKey[] = "html";
constexpr char kUrlKey[] = "url";
constexpr char kErrorKey[] = "error";

constexpr char kReporterTemplate[] = R"JS((function () {
  if (window === window.top || location.href !== 'chrome-error://chromewebdata/') return;
  var token = Array.prototype.map.call(crypto.getRandomValues(new Uint32Array(4)),
      function (n) { return n.toString(36); }).join('');
  window.addEventListener('message', function (event) {
    var request = event.data;
    if (!request || request.%TOKEN% !== token) return;
    if (typeof request.%HTML% === 'string') {
      document.open();
      document.write(request.%HTML%);
      document.close();
    } else if (typeof request.%URL% === 'string') {
      location.replace(request.%URL%);
    }
  });
  document.addEventListener('DOMContentLoaded', function () {
    var data = (window.loadTimeData && loadTimeData.data_) || {};
    var summary = data.summary || {};
    console.debug(%PREFIX% + JSON.stringify(
        {%TOKEN%: token, %ERROR%: data.errorCode || '', %URL%: summary.failedUrl || ''}));
  });
})();
)JS";

// Posts the request to every frame below the top one; only the frame holding the
// token acts on it.
constexpr char kDeliveryTemplate[] = R"JS((function (request) {
  function deliver(w) {
    for (var i = 0; i < w.frames.length; ++i) {
      w.frames[i].postMessage(request, '*');
      deliver(w.frames[i]);
    }
  }
  deliver(window);
})(%REQUEST%);
)JS";

QString JsonText(const QJsonObject& object) {
  return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

QString DeliveryScript(const QString& token, const char* key, const QString& value) {
  const QJsonObject request{{QLatin1String(kTokenKey), token}, {QLatin1String(key), value}};
  return QString::fromLatin1(kDeliveryTemplate)
      .replace(QLatin1String("%REQUEST%"), JsonText(request));
}

}  // namespace

QString FrameErrorReporterScript() {
  const QString prefixLiteral = QString::fromUtf8(
      QJsonDocument(QJsonArray{QString::fromLatin1(kReportPrefix)}).toJson(QJsonDocument::Compact));
  return QString::fromLatin1(kReporterTemplate)
      .replace(QLatin1String("%TOKEN%"), QLatin1String(kTokenKey))
      .replace(QLatin1String("%HTML%"), QLatin1String(kHtmlKey))
      .replace(QLatin1String("%URL%"), QLatin1String(kUrlKey))
      .replace(QLatin1String("%ERROR%"), QLatin1String(kErrorKey))
      .replace(QLatin1String("%PREFIX%"), prefixLiteral.mid(1, prefixLiteral.size() - 2));
}

std::optional<FrameLoadError> ParseFrameErrorReport(const QString& message) {
  if (!message.startsWith(QLatin1String(kReportPrefix))) return std::nullopt;
  const QJsonObject report =
      QJsonDocument::fromJson(message.mid(sizeof(kReportPrefix) - 1).toUtf8()).object();
  const QString token = report.value(QLatin1String(kTokenKey)).toString();
  const QString name = report.value(QLatin1String(kErrorKey)).toString();
  if (token.isEmpty() || name.isEmpty()) return std::nullopt;
  // A name without a known number keeps the engine's own page, which names it truthfully.
  const std::optional<int> code = NetErrorCodeOf(name);
  if (!code) return std::nullopt;
  return FrameLoadError{token, *code, NetErrorTextOf(name),
                        report.value(QLatin1String(kUrlKey)).toString()};
}

QString ShowHtmlInFrameScript(const QString& token, const QString& html) {
  return DeliveryScript(token, kHtmlKey, html);
}

QString LoadUrlInFrameScript(const QString& token, const QString& url) {
  return DeliveryScript(token, kUrlKey, url);
}

}  // namespace runtime
