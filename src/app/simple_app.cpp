#include "app/simple_app.h"

namespace {
constexpr char kPavonixName[] = "pavonix";
constexpr char kAppVersionName[] = "appVersion";
constexpr char kAppVersion[] = "v5.7.2.1807251130";
}  // namespace

void SimpleApp::OnContextCreated(CefRefPtr<CefBrowser>, CefRefPtr<CefFrame>,
                                 CefRefPtr<CefV8Context> context) {
  CefRefPtr<CefV8Value> global = context->GetGlobal();
  CefRefPtr<CefV8Value> pavonix = CefV8Value::CreateString(kPavonixName);
  global->SetValue(kPavonixName, pavonix, V8_PROPERTY_ATTRIBUTE_NONE);
  CefRefPtr<CefV8Value> version = CefV8Value::CreateString(kAppVersion);
  global->SetValue(kAppVersionName, version, V8_PROPERTY_ATTRIBUTE_NONE);
}
