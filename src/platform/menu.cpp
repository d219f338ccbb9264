#include "platform/menu.h"

#include <QAction>
#include <QMenu>
#include <QPointer>

#include "platform/qt/application.h"
#include "platform/qt/look.h"
#include "platform/qt/modal_dialogs.h"
#include "platform/qt/window_host.h"
#include "platform/wnd.h"

BOOL CMenu::AppendMenu(UINT nFlags, UINT nIDNewItem, LPCWSTR lpszNewItem) {
  if (nFlags & MF_SEPARATOR) {
    m_items.push_back({0, CString(), false});
  } else {
    m_items.push_back({nIDNewItem, CString(lpszNewItem), !(nFlags & MF_GRAYED)});
  }
  return TRUE;
}

BOOL CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
  for (Item& item : m_items) {
    if (item.id == nIDEnableItem && !item.text.IsEmpty()) {
      item.enabled = !(nEnable & MF_GRAYED);
      return TRUE;
    }
  }
  return FALSE;
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd) {
  platform::EnsureApplication();
  // No parent: the menu is this frame's alone, whatever happens to the window.
  QMenu menu;
  platform::ApplyPopupMenuLook(menu);
  for (const Item& item : m_items) {
    if (item.text.IsEmpty()) {
      menu.addSeparator();
      continue;
    }
    QAction* action = menu.addAction(QString::fromWCharArray(item.text));
    action->setData(item.id);
    action->setEnabled(item.enabled);
  }
  QPointer<platform::WindowHost> owner(pWnd ? pWnd->host() : nullptr);
  QAction* chosen = platform::RunPopupMenu(menu, QPoint(x, y));
  const UINT id = chosen ? chosen->data().toUInt() : 0;
  // The owner may have gone while the menu was up.
  if (!owner || !owner->owner()) return id;
  CWnd* wnd = owner->owner();
  wnd->SendMessage(WM_UNINITMENUPOPUP);
  if (id && !(nFlags & TPM_RETURNCMD))
    wnd->SendMessage(m_bSystemMenu ? WM_SYSCOMMAND : WM_COMMAND, id, 0);
  return nFlags & TPM_RETURNCMD ? static_cast<BOOL>(id) : TRUE;
}
