#include "app/vintrel_app.h"

#include <cstdio>

#include "app/about_dlg.h"
#include "app/simple_app.h"
#include "app/ui_locale.h"
#include "mainwnd/main_frm.h"
#include "mainwnd/vintrel_doc.h"
#include "mainwnd/vintrel_view.h"
#include "platform/app_identity.h"
#include "platform/command_ids.h"
#include "platform/doc_template.h"
#include "platform/system.h"
#include "platform/unreached/managers.h"
#include "res/resource.h"
#include "runtime/cef_app.h"
#include "runtime/profile_storage.h"
#include "skin/skin_image_store.h"

namespace {

constexpr wchar_t kRegistryKey[] = L"Local AppWizard-Generated Applications";
constexpr UINT kRecentFileCount = 4;
constexpr char kCachePath[] = "cache";
// A start-up that ends without a window is a failure for whoever started the shell.
constexpr int kStartupFailedExitCode = 1;
// The app folder's manifest is at fault: the one who wrote it has something to mend.
constexpr int kManifestFaultExitCode = 2;
// White; the alpha byte only switches the colour on.
constexpr cef_color_t kBackgroundColor = 0x02FFFFFF;

CefSettings RuntimeSettings() {
  CefSettings settings;
  // Pages come from anywhere: their processes run sandboxed wherever the system allows.
  settings.no_sandbox = 0;
  settings.multi_threaded_message_loop = 1;
  settings.windowless_rendering_enabled = 1;
  settings.cache_path = kCachePath;
  settings.locale = UiLocaleForLangId(GetSystemDefaultLangID());
  settings.background_color = kBackgroundColor;
  return settings;
}

// An app whose folder names it runs as that app; a manifest at fault ends start-up before
// anything is written.
bool TakeAppIdentity() {
  const platform::AppManifest manifest = platform::ReadAppManifest(".");
  if (!manifest.present) return true;
  if (!manifest.error.empty()) {
    std::fprintf(stderr, "vintrel: %s: %s\n", platform::kAppManifestName, manifest.error.c_str());
    return false;
  }
  platform::AdoptAppIdentity(manifest.identity);
  if (!manifest.identity.skinFolder.empty())
    CSkinImageStore::GetInstance()->m_strSkinRoot = CString(manifest.identity.skinFolder);
  return true;
}

}  // namespace

CVintrelApp::CVintrelApp() : CWinAppEx(TRUE) {}

BOOL CVintrelApp::InitInstance() {
  INITCOMMONCONTROLSEX initCtrls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&initCtrls);
  CWinAppEx::InitInstance();
  if (!AfxOleInit()) {
    AfxMessageBox(IDP_OLE_INIT_FAILED);
    return FALSE;
  }
  AfxEnableControlContainer();
  SetRegistryKey(kRegistryKey);
  LoadStdProfileSettings(kRecentFileCount);
  InitContextMenuManager();
  InitKeyboardManager();
  CSkinImageStore::GetInstance()->m_strSkinRoot = CSkinImageStore::ComputeSkinRoot();

  const CefMainArgs mainArgs(m_argc, m_argv);
  CefRefPtr<SimpleApp> app(new SimpleApp);
  // An engine sub-process spends its whole life in here.
  const int exitCode = CefExecuteProcess(mainArgs, app, nullptr);
  if (exitCode >= 0) return exitCode;
  if (!TakeAppIdentity()) {
    m_bManifestAtFault = true;
    return FALSE;
  }

  CCommandLineInfo cmdInfo;
  ParseCommandLine(cmdInfo);
  if (!ClaimStorageFolder(cmdInfo)) return FALSE;

  if (!CefInitialize(mainArgs, RuntimeSettings(), app, nullptr)) {
    std::fputs("vintrel: the browser engine could not be started\n", stderr);
    m_bStartupFailed = true;
    return FALSE;
  }

  InitTooltipManager();
  CMFCToolTipInfo tooltipParams;
  tooltipParams.m_bVislManagerTheme = TRUE;
  GetTooltipManager()->SetTooltipParams(AFX_TOOLTIP_TYPE_ALL, RUNTIME_CLASS(CMFCToolTipCtrl),
                                        &tooltipParams);

  AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CVintrelDoc),
                                        RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CVintrelView)));
  if (!ProcessShellCommand(cmdInfo)) {
    m_bStartupFailed = cmdInfo.m_nShellCommand != CCommandLineInfo::AppRegister &&
                       cmdInfo.m_nShellCommand != CCommandLineInfo::AppUnregister;
    return FALSE;
  }
  m_pMainWnd->ShowWindow(SW_SHOWMAXIMIZED);
  m_pMainWnd->UpdateWindow();
  m_instance.ListenForLaunches(
      [this](const std::vector<std::string>& arguments) { OnLaunchHandedOver(arguments); });
  return TRUE;
}

bool CVintrelApp::ClaimStorageFolder(const CCommandLineInfo& cmdInfo) {
  // Registering opens no window and touches no storage.
  if (cmdInfo.m_nShellCommand == CCommandLineInfo::AppRegister ||
      cmdInfo.m_nShellCommand == CCommandLineInfo::AppUnregister)
    return true;
  // The engine's storage is not made to be shared by two processes.
  switch (m_instance.ClaimFolder(CefProfileStorageFolder(kCachePath), m_argc, m_argv)) {
    case platform::CSingleInstance::Claim::Owner:
      return true;
    case platform::CSingleInstance::Claim::HandedOver:
      return false;
    case platform::CSingleInstance::Claim::NoAnswer:
      std::fputs("vintrel: the shell already running on this app's storage does not answer\n",
                 stderr);
      m_bStartupFailed = true;
      return false;
  }
  return false;
}

void CVintrelApp::OnLaunchHandedOver(const std::vector<std::string>& arguments) {
  if (!m_pMainWnd) return;
  if (m_pMainWnd->IsIconic()) m_pMainWnd->ShowWindow(SW_RESTORE);
  m_pMainWnd->SetForegroundWindow();
  CCommandLineInfo cmdInfo;
  for (const std::string& argument : arguments) cmdInfo.ParseParam(argument.c_str());
  // A plain launch keeps the page as it is; a named document opens as at start-up.
  if (cmdInfo.m_nShellCommand == CCommandLineInfo::FileOpen) ProcessShellCommand(cmdInfo);
}

int CVintrelApp::ExitInstance() {
  CSkinImageStore::DestroyInstance();
  const int exitCode = CWinAppEx::ExitInstance();
  if (m_bManifestAtFault) return kManifestFaultExitCode;
  return m_bStartupFailed ? kStartupFailedExitCode : exitCode;
}

void CVintrelApp::PreLoadState() {
  CString name;
  name.LoadString(IDS_EDIT_MENU);
  GetContextMenuManager()->AddMenu(name, IDR_POPUP_EDIT);
}

BOOL CVintrelApp::OnOwnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) {
  if (nCode == CN_COMMAND) {
    switch (nID) {
      case ID_APP_ABOUT:
        OnAppAbout();
        return TRUE;
      case ID_FILE_NEW:
        OnFileNew();
        return TRUE;
      case ID_FILE_OPEN:
        OnFileOpen();
        return TRUE;
      case ID_FILE_PRINT_SETUP:
        OnFilePrintSetup();
        return TRUE;
      default:
        break;
    }
  }
  return CWinAppEx::OnOwnCmdMsg(nID, nCode, pCmdUI);
}

void CVintrelApp::OnAppAbout() {
  CAboutDlg aboutDlg;
  aboutDlg.DoModal();
}
