#include "runtime/qt/script_binding.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <vector>

#include "runtime/cef_v8.h"
#include "runtime/qt/qt_strings.h"

namespace {

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
    if (!m_isObject || !value || !value->IsString()) return false;
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

QString JsonString(const CefString& text) {
  const QString json =
      QString::fromUtf8(QJsonDocument(QJsonArray{runtime::ToQString(text)}).toJson(QJsonDocument::Compact));
  return json.mid(1, json.size() - 2);  // drop the array's brackets
}

QString JsBool(bool value) { return value ? QStringLiteral("true") : QStringLiteral("false"); }

// One guarded definition per property, so a failing one leaves the others set.
QString DefinitionOf(const RecordingV8Value::Property& property) {
  return QStringLiteral(
             "try{Object.defineProperty(window,%1,{value:%2,writable:%3,enumerable:%4,"
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
  QString script;
  for (const RecordingV8Value::Property& property : context->global().properties())
    script += DefinitionOf(property);
  return script;
}

}  // namespace runtime
