#include "runtime/cef_types.h"

void CefWindowInfo::SetAsPopup(cef_window_handle_t parent, const CefString& name) {
  style = CEF_WS_POPUP_WINDOW_STYLE;
  x = CW_USEDEFAULT;
  y = CW_USEDEFAULT;
  width = CW_USEDEFAULT;
  height = CW_USEDEFAULT;
  parent_window = parent;
  window_name = name;
}
