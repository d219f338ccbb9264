#include "platform/managers.h"

IMPLEMENT_DYNCREATE(CMFCToolTipCtrl, CObject)

BOOL CContextMenuManager::AddMenu(LPCWSTR lpszName, UINT uiMenuResId) {
  if (!lpszName) return FALSE;
  m_menus[CString(lpszName)] = uiMenuResId;
  return TRUE;
}

UINT CContextMenuManager::GetMenuByName(LPCWSTR lpszName) const {
  auto it = m_menus.find(CString(lpszName));
  return it == m_menus.end() ? 0 : it->second;
}

void CTooltipManager::SetTooltipParams(UINT, const CRuntimeClass* pRTC, CMFCToolTipInfo* pParams) {
  m_pTooltipClass = pRTC;
  m_params = pParams ? *pParams : CMFCToolTipInfo();
}
