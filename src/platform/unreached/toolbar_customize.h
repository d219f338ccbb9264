#pragma once

#include <memory>

#include "platform/object.h"

class CFrameWnd;

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
