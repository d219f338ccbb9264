#pragma once

#include <memory>

#include "platform/cstring.h"
#include "platform/object.h"

// Sent by the customisation dialog (platform/unreached/toolbar_customize.h) to its
// frame to make a user-defined toolbar; lParam is the new toolbar's name (LPCWSTR).
// The frame returns the toolbar (CMFCToolBar*) or 0.
extern const UINT AFX_WM_CREATETOOLBAR;

// The button at a toolbar's end that opens toolbar customisation.
class CMFCCustomizeButton {
 public:
  UINT m_iCustomizeCmdId = 0;
  CString m_strText;
  BOOL m_bQuickCustomize = FALSE;
};

// A toolbar: its control id, its name and, once enabled, its customise button.
// CFrameWndEx restores its user-defined ones from the settings store at each
// start-up; nothing shows a toolbar.
class CMFCToolBar : public CObject {
  DECLARE_DYNAMIC(CMFCToolBar)

 public:
  CMFCToolBar(UINT nID, LPCWSTR lpszName);

  UINT GetDlgCtrlID() const { return m_nID; }
  CString GetWindowText() const { return m_strName; }
  // Adds the customise button (command iCustomizeCmd, text, quick customisation),
  // or removes it when bEnable is FALSE or the command is not a valid id.
  void EnableCustomizeButton(BOOL bEnable, int iCustomizeCmd, const CString& strCustomizeText,
                             BOOL bQuickCustomize = TRUE);
  // Null while the toolbar has no customise button.
  const CMFCCustomizeButton* GetCustomizeButton() const { return m_pCustomizeButton.get(); }

 private:
  UINT m_nID;
  CString m_strName;
  std::unique_ptr<CMFCCustomizeButton> m_pCustomizeButton;
};
