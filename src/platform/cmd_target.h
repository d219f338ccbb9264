#pragma once

#include "platform/object.h"

// What a command-UI update asks of one item (a menu item or button).
class CCmdUI {
 public:
  virtual ~CCmdUI() = default;
  virtual void Enable(BOOL bOn = TRUE) { m_bEnabled = bOn; }
  virtual void SetCheck(int nCheck = 1) { m_nCheck = nCheck; }
  virtual void SetRadio(BOOL bOn = TRUE) { m_bRadio = bOn; }

  UINT m_nID = 0;
  BOOL m_bEnabled = TRUE;
  int m_nCheck = 0;
  BOOL m_bRadio = FALSE;
};

class CCmdTarget : public CObject {
  DECLARE_DYNAMIC(CCmdTarget)

 public:
  // Routes a command (nCode CN_COMMAND) or its update (CN_UPDATE_COMMAND_UI);
  // TRUE when some target handled it.
  virtual BOOL OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI);

 protected:
  // This class's own command table. An override handles its entries and hands
  // everything else to its base class's table.
  virtual BOOL OnOwnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI);
};
