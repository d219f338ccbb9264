#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/cef_string.h"

// A native window is the same opaque handle the windowing layer uses.
struct HWND__;
typedef HWND__* HWND;
typedef HWND cef_window_handle_t;
typedef uint32_t cef_color_t;

enum cef_thread_id_t { TID_UI, TID_FILE, TID_IO };
typedef cef_thread_id_t CefThreadId;

enum cef_state_t { STATE_DEFAULT = 0, STATE_ENABLED, STATE_DISABLED };

enum cef_paint_element_type_t { PET_VIEW = 0, PET_POPUP };
typedef cef_paint_element_type_t PaintElementType;

enum cef_log_severity_t { LOGSEVERITY_DEFAULT = 0 };

// Chromium's network error codes, as far as the system names them.
enum cef_errorcode_t { ERR_NONE = 0, ERR_ABORTED = -3 };
typedef int ErrorCode;

enum cef_context_menu_type_flags_t {
  CM_TYPEFLAG_NONE = 0,
  CM_TYPEFLAG_PAGE = 1 << 0,
  CM_TYPEFLAG_FRAME = 1 << 1,
  CM_TYPEFLAG_LINK = 1 << 2,
  CM_TYPEFLAG_MEDIA = 1 << 3,
  CM_TYPEFLAG_SELECTION = 1 << 4,
  CM_TYPEFLAG_EDITABLE = 1 << 5,
};
typedef uint32_t TypeFlags;
typedef uint32_t EventFlags;

enum cef_v8_propertyattribute_t {
  V8_PROPERTY_ATTRIBUTE_NONE = 0,
  V8_PROPERTY_ATTRIBUTE_READONLY = 1 << 0,
  V8_PROPERTY_ATTRIBUTE_DONTENUM = 1 << 1,
  V8_PROPERTY_ATTRIBUTE_DONTDELETE = 1 << 2,
};
typedef cef_v8_propertyattribute_t PropertyAttribute;

// Lets the system pick a top-level window's position or size.
#ifndef CW_USEDEFAULT
#define CW_USEDEFAULT (static_cast<int>(0x80000000u))
#endif

struct CefPoint {
  int x = 0;
  int y = 0;
};

class CefMainArgs {
 public:
  CefMainArgs() = default;
  CefMainArgs(int argc_arg, char** argv_arg) : argc(argc_arg), argv(argv_arg) {}
  int argc = 0;
  char** argv = nullptr;
};

struct CefSettings {
  size_t size = sizeof(CefSettings);
  int single_process = 0;
  int no_sandbox = 0;
  CefString browser_subprocess_path;
  int multi_threaded_message_loop = 0;
  int windowless_rendering_enabled = 0;
  int command_line_args_disabled = 0;
  CefString cache_path;
  int persist_session_cookies = 0;
  CefString user_agent;
  CefString product_version;
  CefString locale;
  CefString log_file;
  cef_log_severity_t log_severity = LOGSEVERITY_DEFAULT;
  CefString javascript_flags;
  CefString resources_dir_path;
  CefString locales_dir_path;
  int pack_loading_disabled = 0;
  int remote_debugging_port = 0;
  int uncaught_exception_stack_size = 0;
  int context_safety_implementation = 0;
  int ignore_certificate_errors = 0;
  cef_color_t background_color = 0;
};

struct CefBrowserSettings {
  size_t size = sizeof(CefBrowserSettings);
  cef_state_t javascript = STATE_DEFAULT;
  cef_state_t local_storage = STATE_DEFAULT;
  cef_state_t databases = STATE_DEFAULT;
  cef_state_t web_security = STATE_DEFAULT;
  cef_color_t background_color = 0;
};

class CefWindowInfo {
 public:
  uint32_t ex_style = 0;
  CefString window_name;
  uint32_t style = 0;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  cef_window_handle_t parent_window = nullptr;
  void* menu = nullptr;
  int windowless_rendering_enabled = 0;
  int transparent_painting_enabled = 0;
  cef_window_handle_t window = nullptr;

  // A top-level window of its own, owned by parent, at the system's default
  // position and size.
  void SetAsPopup(cef_window_handle_t parent, const CefString& name);
};

// Window styles the runtime's window info carries.
constexpr uint32_t CEF_WS_CHILD = 0x40000000;
constexpr uint32_t CEF_WS_POPUP_WINDOW_STYLE = 0x16CF0000;  // overlapped, clip, visible
