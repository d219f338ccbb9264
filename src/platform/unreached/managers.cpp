#include "platform/unreached/managers.h"

#include <memory>

#include "platform/win_app.h"

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

BOOL CWinAppEx::InitContextMenuManager() {
  if (!m_pContextMenuManager) m_pContextMenuManager = std::make_shared<CContextMenuManager>();
  return TRUE;
}

BOOL CWinAppEx::InitKeyboardManager() {
  if (!m_pKeyboardManager) m_pKeyboardManager = std::make_shared<CKeyboardManager>();
  return TRUE;
}

BOOL CWinAppEx::InitTooltipManager() {
  if (!m_pTooltipManager) m_pTooltipManager = std::make_shared<CTooltipManager>();
  return TRUE;
}
