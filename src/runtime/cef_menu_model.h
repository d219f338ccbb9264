#pragma once

#include "runtime/cef_base.h"
#include "runtime/cef_types.h"

class CefMenuModel : public virtual CefBase {
 public:
  virtual bool Clear() = 0;
  virtual int GetCount() = 0;
  virtual bool AddItem(int command_id, const CefString& label) = 0;
  virtual int GetCommandIdAt(int index) = 0;
  virtual CefString GetLabelAt(int index) = 0;
};

class CefContextMenuParams : public virtual CefBase {
 public:
  virtual TypeFlags GetTypeFlags() = 0;
};
