#pragma once

#include <cstddef>
#include <string>

#include "platform/win_types.h"

// The application's resources, compiled in: the string table, menus,
// accelerator tables, dialog templates and icons.
namespace platform {

struct StringResource {
  UINT id;
  LPCWSTR text;
};

// One menu item; depth 0 items are the menu's pop-ups, deeper ones their items.
struct MenuItemResource {
  int depth;
  UINT id;       // 0 for a pop-up or a separator
  LPCWSTR text;  // null for a separator
};

struct MenuResource {
  UINT id;
  const MenuItemResource* items;
  size_t count;
};

constexpr BYTE FVIRTKEY = 0x01;
constexpr BYTE FSHIFT = 0x04;
constexpr BYTE FCONTROL = 0x08;
constexpr BYTE FALT = 0x10;

struct AcceleratorResource {
  BYTE fVirt;
  UINT key;  // a virtual-key code
  UINT cmd;
};

struct AcceleratorTableResource {
  UINT id;
  const AcceleratorResource* entries;
  size_t count;
};

enum class DialogItemKind { Icon, Text, DefPushButton, PushButton };

struct DialogItemResource {
  DialogItemKind kind;
  UINT id;
  LPCWSTR text;      // for an icon: the icon resource id as text
  int x, y, cx, cy;  // dialog units
};

struct DialogResource {
  UINT id;
  LPCWSTR caption;
  LPCWSTR fontFace;
  int fontPoints;
  int cx, cy;  // dialog units
  const DialogItemResource* items;
  size_t count;
};

struct IconResource {
  UINT id;
  // A folder of the compiled-in resource files: one image per size, as the
  // window system's icon files hold them.
  const char* path;
};

struct ResourceTable {
  const StringResource* strings;
  size_t stringCount;
  const MenuResource* menus;
  size_t menuCount;
  const AcceleratorTableResource* accelerators;
  size_t acceleratorCount;
  const DialogResource* dialogs;
  size_t dialogCount;
  const IconResource* icons;
  size_t iconCount;
};

// Defined by the application's resource module.
const ResourceTable& ApplicationResources();

LPCWSTR FindString(UINT id);
// Gives a string another text for the rest of the process (an app's own title).
void ReplaceString(UINT id, const std::wstring& text);
const MenuResource* FindMenu(UINT id);
const AcceleratorTableResource* FindAccelerators(UINT id);
const DialogResource* FindDialog(UINT id);
const IconResource* FindIcon(UINT id);

// Virtual-key codes used by accelerator tables.
constexpr UINT VK_BACK = 0x08;
constexpr UINT VK_INSERT = 0x2D;
constexpr UINT VK_DELETE = 0x2E;
constexpr UINT VK_F6 = 0x75;

}  // namespace platform
