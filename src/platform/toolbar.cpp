#include "platform/toolbar.h"

#include "platform/wnd.h"

const UINT AFX_WM_CREATETOOLBAR = RegisterWindowMessage(L"TOOLBAR_CREATE");

IMPLEMENT_DYNAMIC(CMFCToolBar, CObject)

CMFCToolBar::CMFCToolBar(UINT nID, LPCWSTR lpszName) : m_nID(nID), m_strName(lpszName) {}

void CMFCToolBar::EnableCustomizeButton(BOOL bEnable, int iCustomizeCmd,
                                        const CString& strCustomizeText, BOOL bQuickCustomize) {
  if (!bEnable || iCustomizeCmd <= 0) {
    m_pCustomizeButton.reset();
    return;
  }
  m_pCustomizeButton = std::make_unique<CMFCCustomizeButton>();
  m_pCustomizeButton->m_iCustomizeCmdId = static_cast<UINT>(iCustomizeCmd);
  m_pCustomizeButton->m_strText = strCustomizeText;
  m_pCustomizeButton->m_bQuickCustomize = bQuickCustomize;
}
