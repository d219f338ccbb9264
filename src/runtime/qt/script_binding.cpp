#include "runtime/qt/script_binding.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cstdio>
#include <vector>

#include "runtime/cef_v8.h"
#include "runtime/qt/qt_strings.h"

namespace {

// Text as a script's string literal, quotes included.
QString JsonString(const CefString& text) {
  const QString json = QString::fromUtf8(
      QJsonDocument(QJsonArray{runtime::ToQString(text)}).toJson(QJsonDocument::Compact));
  return json.mid(1, json.size() - 2);  // drop the array's brackets
}

// A page would miss the global without a word: the one who wrote the handler hears of it.
void WarnNotAString(const CefString& key) {
  std::fprintf(stderr,
               "vintrel: the script global %s is not a string and is left out of every page\n",
               JsonString(key).toUtf8().constData());
}

// A script value that only remembers: a string, or the global object with the
// properties set on it.
class RecordingV8Value : public CefV8Value {
 public:
  struct Property {
    CefString key;
    CefString value;
    PropertyAttribute attribute;
  };

  static CefRefPtr<RecordingV8Value> MakeGlobal() {
    return new RecordingV8Value(true, CefString());
  }
  static CefRefPtr<RecordingV8Value> MakeString(const CefString& value) {
    return new RecordingV8Value(false, value);
  }

  bool IsString() override { return !m_isObject; }
  CefString GetStringValue() override { return m_isObject ? CefString() : m_string; }
  bool SetValue(const CefString& key, CefRefPtr<CefV8Value> value,
                PropertyAttribute attribute) override {
    if (!m_isObject) return false;
    if (!value || !value->IsString()) {
      WarnNotAString(key);
      return false;
    }
    m_properties.push_back({key, value->GetStringValue(), attribute});
    return true;
  }

  const std::vector<Property>& properties() const { return m_properties; }

 private:
  RecordingV8Value(bool isObject, CefString string)
      : m_isObject(isObject), m_string(std::move(string)) {}

  const bool m_isObject;
  const CefString m_string;
  std::vector<Property> m_properties;
  IMPLEMENT_REFCOUNTING(RecordingV8Value);
};

class RecordingV8Context : public CefV8Context {
 public:
  CefRefPtr<CefV8Value> GetGlobal() override { return m_global; }
  const RecordingV8Value& global() const { return *m_global; }

 private:
  CefRefPtr<RecordingV8Value> m_global = RecordingV8Value::MakeGlobal();
  IMPLEMENT_REFCOUNTING(RecordingV8Context);
};

// Sets the properties on this document's window. A blank document that a script
// makes (a frame's first document, a window opened on no address) gets no
// document-creation script of its own; only its creator's scripts can reach it,
// so this document sets the properties there as they reach it: through a
// frame's contentWindow or contentDocument, through window.open, and, for frames
// the parser makes, before the parser runs the next script. Each blank document
// is set up once, so what its own scripts do to the properties stays.
constexpr char kBindingTemplate[] = R"JS((function () {
  var FRAME_TYPES = ['HTMLIFrameElement', 'HTMLFrameElement', 'HTMLObjectElement'];
  var FRAMES = 'iframe,frame,object';
  var done = new WeakSet();

  function define(w) {
%DEFINE%  }

  function setUp(w) {
    done.add(w.document);
    define(w);
    hookFrameAccess(w);
    hookOpen(w);
    watchParser(w);
  }

  function setUpIfBlank(w) {
    try {
      if (!w || done.has(w.document) || w.location.href !== 'about:blank') return;
    } catch (e) {
      return;  // another origin's document
    }
    setUp(w);
  }

  function hookFrameAccess(w) {
    FRAME_TYPES.forEach(function (type) {
      var prototype = w[type] && w[type].prototype;
      ['contentWindow', 'contentDocument'].forEach(function (name) {
        var original = prototype && Object.getOwnPropertyDescriptor(prototype, name);
        if (!original || !original.get) return;
        Object.defineProperty(prototype, name, {
          configurable: true, enumerable: original.enumerable,
          get: function () {
            var value = original.get.call(this);
            if (value) setUpIfBlank(name === 'contentWindow' ? value : value.defaultView);
            return value;
          }
        });
      });
    });
  }

  function hookOpen(w) {
    var open = w.open;
    if (typeof open !== 'function') return;
    w.open = function () {
      var opened = open.apply(this === undefined || this === null ? w : this, arguments);
      setUpIfBlank(opened);
      return opened;
    };
  }

  function setUpFramesIn(node) {
    if (node.nodeType !== Node.ELEMENT_NODE) return;
    if (node.matches(FRAMES)) setUpIfBlank(node.contentWindow);
    node.querySelectorAll(FRAMES).forEach(function (frame) { setUpIfBlank(frame.contentWindow); });
  }

  // The parser runs pending observers before each script of the document.
  function watchParser(w) {
    var doc = w.document;
    if (doc.readyState !== 'loading' || !w.MutationObserver) return;
    var take = function (records) {
      records.forEach(function (record) { record.addedNodes.forEach(setUpFramesIn); });
    };
    var observer = new w.MutationObserver(take);
    observer.observe(doc, {childList: true, subtree: true});
    doc.addEventListener('DOMContentLoaded', function () {
      take(observer.takeRecords());
      observer.disconnect();
    });
  }

  setUp(window);
})();
)JS";

QString JsBool(bool value) { return value ? QStringLiteral("true") : QStringLiteral("false"); }

// One guarded definition per property on the window w, so a failing one leaves
// the others set.
QString DefinitionOf(const RecordingV8Value::Property& property) {
  return QStringLiteral(
             "try{Object.defineProperty(w,%1,{value:%2,writable:%3,enumerable:%4,"
             "configurable:%5});}catch(e){}\n")
      .arg(JsonString(property.key), JsonString(property.value),
           JsBool(!(property.attribute & V8_PROPERTY_ATTRIBUTE_READONLY)),
           JsBool(!(property.attribute & V8_PROPERTY_ATTRIBUTE_DONTENUM)),
           JsBool(!(property.attribute & V8_PROPERTY_ATTRIBUTE_DONTDELETE)));
}

}  // namespace

CefRefPtr<CefV8Value> CefV8Value::CreateString(const CefString& value) {
  return RecordingV8Value::MakeString(value);
}

namespace runtime {

QString RecordScriptBinding(CefRefPtr<CefApp> application) {
  if (!application) return QString();
  CefRefPtr<CefRenderProcessHandler> handler = application->GetRenderProcessHandler();
  if (!handler) return QString();
  CefRefPtr<RecordingV8Context> context(new RecordingV8Context);
  handler->OnContextCreated(nullptr, nullptr, context);
  QString definitions;
  for (const RecordingV8Value::Property& property : context->global().properties())
    definitions += DefinitionOf(property);
  if (definitions.isEmpty()) return QString();
  return QString::fromLatin1(kBindingTemplate).replace(QLatin1String("%DEFINE%"), definitions);
}

}  // namespace runtime
