#pragma once

#include "runtime/cef_base.h"
#include "runtime/cef_types.h"

class CefV8Value : public virtual CefBase {
 public:
  static CefRefPtr<CefV8Value> CreateString(const CefString& value);

  virtual bool IsString() = 0;
  virtual CefString GetStringValue() = 0;
  virtual bool SetValue(const CefString& key, CefRefPtr<CefV8Value> value,
                        PropertyAttribute attribute) = 0;
};

class CefV8Context : public virtual CefBase {
 public:
  virtual CefRefPtr<CefV8Value> GetGlobal() = 0;
};
