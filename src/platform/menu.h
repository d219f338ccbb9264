#pragma once

#include <vector>

#include "platform/cstring.h"
#include "platform/win_messages.h"

class CWnd;

constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_SEPARATOR = 0x0800;
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_TOPALIGN = 0x0000;
constexpr UINT TPM_LEFTBUTTON = 0x0000;
constexpr UINT TPM_RETURNCMD = 0x0100;

// A pop-up menu: items with a command id, a label ('&' marks the access key) and
// an enabled state.
class CMenu {
 public:
  struct Item {
    UINT id;
    CString text;  // empty for a separator
    bool enabled;
  };

  BOOL AppendMenu(UINT nFlags, UINT nIDNewItem = 0, LPCWSTR lpszNewItem = nullptr);
  BOOL EnableMenuItem(UINT nIDEnableItem, UINT nEnable);
  const std::vector<Item>& items() const { return m_items; }
  // Shows the menu at a screen point until the user chooses or dismisses it. The
  // choice goes to the owner as a command (WM_SYSCOMMAND for its system menu), or
  // is returned with TPM_RETURNCMD; 0 when dismissed.
  BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd);

  // Set for the menu a window gives out as its system menu.
  bool m_bSystemMenu = false;

 private:
  std::vector<Item> m_items;
};
