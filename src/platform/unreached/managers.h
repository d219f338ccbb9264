#pragma once

#include <map>

#include "platform/cmd_target.h"
#include "platform/cstring.h"

// The framework's context-menu manager: pop-up menus registered by name.
class CContextMenuManager {
 public:
  BOOL AddMenu(LPCWSTR lpszName, UINT uiMenuResId);
  // The menu resource registered under the name, 0 for none.
  UINT GetMenuByName(LPCWSTR lpszName) const;

 private:
  std::map<CString, UINT> m_menus;
};

// The framework's keyboard manager: the frames' accelerator tables.
class CKeyboardManager {};

class CMFCToolTipInfo {
 public:
  BOOL m_bVislManagerTheme = FALSE;
};

class CMFCToolTipCtrl : public CObject {
  DECLARE_DYNCREATE(CMFCToolTipCtrl)
};

constexpr UINT AFX_TOOLTIP_TYPE_ALL = 0xFFFF;

class CTooltipManager {
 public:
  void SetTooltipParams(UINT nTypes, const CRuntimeClass* pRTC, CMFCToolTipInfo* pParams);
  const CRuntimeClass* tooltipClass() const { return m_pTooltipClass; }
  const CMFCToolTipInfo& params() const { return m_params; }

 private:
  const CRuntimeClass* m_pTooltipClass = nullptr;
  CMFCToolTipInfo m_params;
};
