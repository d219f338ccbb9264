// The main frame's application-look commands and toolbar customisation.
#include <optional>

#include "mainwnd/application_look.h"
#include "mainwnd/main_frm.h"
#include "platform/toolbar.h"
#include "platform/unreached/docking.h"
#include "platform/unreached/toolbar_customize.h"
#include "platform/unreached/visual_managers.h"
#include "platform/unreached/wait_cursor.h"
#include "platform/win_app.h"
#include "res/resource.h"

namespace {

constexpr wchar_t kApplicationLookEntry[] = L"ApplicationLook";
constexpr int kDefaultApplicationLook = ID_VIEW_APPLOOK_VS_2005;
constexpr int kMaxUserToolbars = 10;
constexpr BOOL kQuickCustomize = TRUE;
constexpr BOOL kScanMenus = TRUE;
constexpr UINT kLookRedrawFlags =
    RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW;

using Office2007Style = CMFCVisualManagerOffice2007::Style;

// What one look command sets up.
struct Look {
  UINT id;
  const CRuntimeClass* manager;
  std::optional<Office2007Style> office2007Style;
  bool threeDTabs;
  bool smartDocking;
};

const Look kLooks[] = {
    {ID_VIEW_APPLOOK_WIN_2000, RUNTIME_CLASS(CMFCVisualManager), std::nullopt, false, false},
    {ID_VIEW_APPLOOK_OFF_XP, RUNTIME_CLASS(CMFCVisualManagerOfficeXP), std::nullopt, false, false},
    {ID_VIEW_APPLOOK_WIN_XP, RUNTIME_CLASS(CMFCVisualManagerWindows), std::nullopt, true, false},
    {ID_VIEW_APPLOOK_OFF_2003, RUNTIME_CLASS(CMFCVisualManagerOffice2003), std::nullopt, false,
     true},
    {ID_VIEW_APPLOOK_VS_2005, RUNTIME_CLASS(CMFCVisualManagerVS2005), std::nullopt, false, true},
    {ID_VIEW_APPLOOK_OFF_2007_BLUE, RUNTIME_CLASS(CMFCVisualManagerOffice2007),
     CMFCVisualManagerOffice2007::Office2007_LunaBlue, false, true},
    {ID_VIEW_APPLOOK_OFF_2007_BLACK, RUNTIME_CLASS(CMFCVisualManagerOffice2007),
     CMFCVisualManagerOffice2007::Office2007_ObsidianBlack, false, true},
    {ID_VIEW_APPLOOK_OFF_2007_SILVER, RUNTIME_CLASS(CMFCVisualManagerOffice2007),
     CMFCVisualManagerOffice2007::Office2007_Silver, false, true},
    {ID_VIEW_APPLOOK_OFF_2007_AQUA, RUNTIME_CLASS(CMFCVisualManagerOffice2007),
     CMFCVisualManagerOffice2007::Office2007_Aqua, false, true},
};

const Look* FindLook(UINT id) {
  for (const Look& look : kLooks) {
    if (look.id == id) return &look;
  }
  return nullptr;
}

void ApplyLook(const Look& look) {
  // Both settings are read when the manager is made, so they come first.
  if (look.threeDTabs) CMFCVisualManagerWindows::m_b3DTabsXPTheme = TRUE;
  if (look.office2007Style) CMFCVisualManagerOffice2007::SetStyle(*look.office2007Style);
  CMFCVisualManager::SetDefaultManager(look.manager);
  if (look.smartDocking) CDockingManager::SetDockingMode(DT_SMART);
}

// The application object keeps the current look and its settings; a process that
// only shows a frame (tests, for one) has none that does.
IApplicationLook* LookHolder() { return dynamic_cast<IApplicationLook*>(AfxGetApp()); }
CWinAppEx* SettingsStore() { return dynamic_cast<CWinAppEx*>(AfxGetApp()); }

CString CustomizeText() {
  CString text;
  text.LoadString(IDS_TOOLBAR_CUSTOMIZE);
  return text;
}

void EnableCustomizeButton(CMFCToolBar& toolbar, const CString& text) {
  toolbar.EnableCustomizeButton(TRUE, ID_VIEW_CUSTOMIZE, text, kQuickCustomize);
}

}  // namespace

void CMainFrame::ReadApplicationLook() {
  // Only remembered here: nothing applies the look until a look command arrives.
  IApplicationLook* holder = LookHolder();
  CWinAppEx* settings = SettingsStore();
  if (holder && settings)
    holder->SetApplicationLook(settings->GetInt(kApplicationLookEntry, kDefaultApplicationLook));
}

BOOL CMainFrame::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                           CCreateContext* pContext) {
  if (!CSkinFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext)) return FALSE;
  const CString text = CustomizeText();
  for (int i = 0; i < kMaxUserToolbars; ++i) {
    if (CMFCToolBar* toolbar = GetUserToolBarByIndex(i)) EnableCustomizeButton(*toolbar, text);
  }
  return TRUE;
}

BOOL CMainFrame::OnOwnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) {
  if (nID == ID_VIEW_CUSTOMIZE && nCode == CN_COMMAND) {
    OnCustomizeToolbars();
    return TRUE;
  }
  if (nID >= ID_VIEW_APPLOOK_WIN_2000 && nID <= ID_VIEW_APPLOOK_OFF_2007_AQUA) {
    if (nCode == CN_COMMAND) {
      OnApplicationLook(nID);
      return TRUE;
    }
    if (nCode == CN_UPDATE_COMMAND_UI && pCmdUI) {
      OnUpdateApplicationLook(pCmdUI);
      return TRUE;
    }
  }
  return CSkinFrameWnd::OnOwnCmdMsg(nID, nCode, pCmdUI);
}

BOOL CMainFrame::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message == AFX_WM_CREATETOOLBAR) {
    *pResult = OnCreateToolbar(wParam, lParam);
    return TRUE;
  }
  return CSkinFrameWnd::OnWndMsg(message, wParam, lParam, pResult);
}

void CMainFrame::OnCustomizeToolbars() {
  auto* dialog = new CMFCToolBarsCustomizeDialog(this, kScanMenus);
  dialog->EnableUserDefinedToolbars();
  dialog->Create();  // modeless; the dialog deletes itself when closed
}

LRESULT CMainFrame::OnCreateToolbar(WPARAM wp, LPARAM lp) {
  const LRESULT result = OnToolbarCreateNew(wp, lp);
  if (!result) return 0;
  EnableCustomizeButton(*reinterpret_cast<CMFCToolBar*>(result), CustomizeText());
  return result;
}

void CMainFrame::OnApplicationLook(UINT id) {
  const Look* look = FindLook(id);
  if (!look) return;
  CWaitCursor wait;
  IApplicationLook* holder = LookHolder();
  if (holder) holder->SetApplicationLook(static_cast<int>(id));
  ApplyLook(*look);
  RedrawWindow(nullptr, nullptr, kLookRedrawFlags);
  CWinAppEx* settings = SettingsStore();
  if (holder && settings) settings->WriteInt(kApplicationLookEntry, static_cast<int>(id));
}

void CMainFrame::OnUpdateApplicationLook(CCmdUI* pCmdUI) {
  const IApplicationLook* holder = LookHolder();
  pCmdUI->SetRadio(holder && holder->GetApplicationLook() == static_cast<int>(pCmdUI->m_nID));
}
