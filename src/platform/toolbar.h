#pragma once

#include <memory>

#include "platform/cstring.h"
#include "platform/object.h"

class CFrameWnd;

// Sent by the customisation dialog to its frame to make a user-defined toolbar;
// lParam is the new toolbar's name (LPCWSTR). The frame returns the toolbar
// (CMFCToolBar*) or 0.
extern const UINT AFX_WM_CREATETOOLBAR;

// The button at a toolbar's end that opens toolbar customisation.
class CMFCCustomizeButton {
 public:
  UINT m_iCustomizeCmdId = 0;
  CString m_strText;
  BOOL m_bQuickCustomize = FALSE;
};

// A toolbar: its control id, its name and, once enabled, its customise button.
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

// Options of the framework's own menus that the customisation dialog offers.
constexpr UINT AFX_CUSTOMIZE_MENU_SHADOWS = 0x0001;
constexpr UINT AFX_CUSTOMIZE_TEXT_LABELS = 0x0002;
constexpr UINT AFX_CUSTOMIZE_MENU_ANIMATIONS = 0x0004;
constexpr UINT AFX_CUSTOMIZE_NOHELP = 0x0008;

// The toolbar customisation dialog of a frame, shown modeless. It lists the
// frame's user-defined toolbars and, when enabled, makes new ones (through
// AFX_WM_CREATETOOLBAR to the frame); with menu scanning it lists the commands of
// the frame's menu.
class CMFCToolBarsCustomizeDialog : public CObject {
  DECLARE_DYNAMIC(CMFCToolBarsCustomizeDialog)

 public:
  explicit CMFCToolBarsCustomizeDialog(CFrameWnd* pWndParentFrame, BOOL bAutoSetFromMenus = FALSE,
                                       UINT uiFlags = AFX_CUSTOMIZE_MENU_SHADOWS |
                                                      AFX_CUSTOMIZE_TEXT_LABELS |
                                                      AFX_CUSTOMIZE_MENU_ANIMATIONS |
                                                      AFX_CUSTOMIZE_NOHELP);
  ~CMFCToolBarsCustomizeDialog() override;
  CMFCToolBarsCustomizeDialog(const CMFCToolBarsCustomizeDialog&) = delete;
  CMFCToolBarsCustomizeDialog& operator=(const CMFCToolBarsCustomizeDialog&) = delete;

  void EnableUserDefinedToolbars(BOOL bEnable = TRUE) { m_bUserDefinedToolbars = bEnable; }
  BOOL IsUserDefinedToolbarsEnabled() const { return m_bUserDefinedToolbars; }
  UINT GetFlags() const { return m_uiFlags; }

  // Shows the dialog without blocking. The object belongs to the dialog from here
  // on and deletes itself when the dialog closes (or at once, with FALSE, when the
  // frame has no window).
  BOOL Create();

 private:
  struct Widgets;

  CFrameWnd* m_pParentFrame;
  BOOL m_bAutoSetFromMenus;
  UINT m_uiFlags;
  BOOL m_bUserDefinedToolbars = FALSE;
  std::unique_ptr<Widgets> m_pWidgets;
};
