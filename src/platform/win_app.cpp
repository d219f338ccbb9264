#include "platform/win_app.h"

#include <QApplication>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QSettings>

#include <algorithm>
#include <cstring>

#include "platform/command_ids.h"
#include "platform/doc_template.h"
#include "platform/document.h"
#include "platform/qt/application.h"
#include "platform/qt/file_dialogs.h"
#include "platform/qt/large_allocations.h"
#include "platform/qt/modal_dialogs.h"
#include "platform/qt/settings.h"
#include "platform/qt/termination_signals.h"
#include "platform/wnd.h"

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)
IMPLEMENT_DYNAMIC(CWinAppEx, CWinApp)

namespace {

CWinApp* g_pApp = nullptr;

constexpr const wchar_t* kWorkspaceSection = L"Workspace";

}  // namespace

CWinApp* AfxGetApp() { return g_pApp; }

void CCommandLineInfo::ParseParam(const char* pszParam) {
  if (std::strncmp(pszParam, "--", 2) == 0) return;  // the engine's switches
  const QString param = QString::fromLocal8Bit(pszParam);
  if (param.startsWith('-')) {
    const QString name = param.mid(1).toLower();
    if (name == "register" || name == "regserver") m_nShellCommand = AppRegister;
    if (name == "unregister" || name == "unregserver") m_nShellCommand = AppUnregister;
    return;
  }
  m_nShellCommand = FileOpen;
  m_strFileName = CString(param.toStdWString());
}

CWinApp::CWinApp(LPCWSTR lpszAppName) : m_strAppName(lpszAppName) { g_pApp = this; }

CWinApp::~CWinApp() {
  if (g_pApp == this) g_pApp = nullptr;
}

int CWinApp::Run() {
  if (!m_pMainWnd) return ExitInstance();  // nothing to wait for
  platform::EnsureApplication();
  {
    // Asked to terminate, the application closes its main window like a user would.
    platform::TerminationSignals terminationSignals([this] {
      if (m_pMainWnd) m_pMainWnd->PostMessage(WM_CLOSE);
    });
    m_nExitCode = QApplication::exec();
  }
  return ExitInstance();
}

int CWinApp::ExitInstance() {
  if (!m_bRegisterOnly && m_pRecentFileList) m_pRecentFileList->WriteList();
  m_templates.clear();
  return m_nExitCode;
}

void CWinApp::SetRegistryKey(LPCWSTR lpszRegistryKey) {
  m_strRegistryKey = lpszRegistryKey;
  if (m_strAppName.IsEmpty()) m_strAppName.LoadString(AFX_IDS_APP_TITLE);
  platform::SetProfileLocation(m_strRegistryKey, m_strAppName);
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU) {
  if (nMaxMRU) {
    m_pRecentFileList = std::make_unique<CRecentFileList>(L"Recent File List", L"File%d", nMaxMRU);
    m_pRecentFileList->ReadList();
  }
  m_nNumPreviewPages = GetProfileInt(L"Settings", L"PreviewPages", 0);
}

UINT CWinApp::GetProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nDefault) {
  bool ok = false;
  const int value = platform::ReadProfileValue(lpszSection, lpszEntry).toInt(&ok);
  return static_cast<UINT>(ok ? value : nDefault);
}

BOOL CWinApp::WriteProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nValue) {
  return platform::WriteProfileValue(lpszSection, lpszEntry, nValue);
}

CString CWinApp::GetProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszDefault) {
  const QVariant value = platform::ReadProfileValue(lpszSection, lpszEntry);
  return value.isValid() ? CString(value.toString().toStdWString()) : CString(lpszDefault);
}

BOOL CWinApp::WriteProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszValue) {
  return platform::WriteProfileValue(lpszSection, lpszEntry, QString::fromWCharArray(lpszValue));
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) { m_templates.emplace_back(pTemplate); }

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) {
  for (int i = 1; i < m_argc; ++i) rCmdInfo.ParseParam(m_argv[i]);
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo) {
  switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
      OnFileNew();
      return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
      if (m_templates.empty() || !m_templates.front()->OpenDocumentFile(rCmdInfo.m_strFileName)) {
        return FALSE;
      }
      AddToRecentFileList(rCmdInfo.m_strFileName);
      return TRUE;
    case CCommandLineInfo::AppRegister:
    case CCommandLineInfo::AppUnregister:
      // Nothing to register here; like the framework, the process ends afterwards.
      m_bRegisterOnly = TRUE;
      return FALSE;
    case CCommandLineInfo::FileNothing:
      return TRUE;
  }
  return FALSE;
}

void CWinApp::AddToRecentFileList(LPCWSTR lpszPathName) {
  if (m_pRecentFileList) m_pRecentFileList->Add(lpszPathName);
}

void CWinApp::OnFileNew() {
  if (!m_templates.empty()) m_templates.front()->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen() {
  const QString path = platform::AskOpenFileName(nullptr);
  if (path.isEmpty() || m_templates.empty()) return;
  const CString name(path.toStdWString());
  if (m_templates.front()->OpenDocumentFile(name)) AddToRecentFileList(name);
}

void CWinApp::OnFilePrintSetup() {
  QPrinter printer;
  QPageSetupDialog dialog(&printer);
  platform::RunModal(dialog);
}

CRecentFileList::CRecentFileList(LPCWSTR lpszSection, LPCWSTR lpszEntryFormat, int nSize)
    : m_strSection(lpszSection), m_strEntryFormat(lpszEntryFormat), m_nSize(nSize) {}

void CRecentFileList::Add(LPCWSTR lpszPathName) {
  const CString name(lpszPathName);
  m_entries.erase(std::remove(m_entries.begin(), m_entries.end(), name), m_entries.end());
  m_entries.insert(m_entries.begin(), name);
  if (m_entries.size() > static_cast<size_t>(m_nSize))
    m_entries.resize(static_cast<size_t>(m_nSize));
  m_bChanged = true;
}

CString CRecentFileList::EntryName(int index) const {
  return CString(QString::fromWCharArray(m_strEntryFormat)
                     .replace("%d", QString::number(index + 1))
                     .toStdWString());
}

void CRecentFileList::ReadList() {
  m_entries.clear();
  for (int i = 0; i < m_nSize; ++i) {
    const QVariant value = platform::ReadProfileValue(m_strSection, EntryName(i));
    if (value.isValid() && !value.toString().isEmpty())
      m_entries.emplace_back(value.toString().toStdWString());
  }
}

void CRecentFileList::WriteList() {
  // Only a list that changed is written: the shell writes no settings of its own.
  if (!m_bChanged) return;
  for (int i = 0; i < m_nSize; ++i) {
    const QVariant value =
        static_cast<size_t>(i) < m_entries.size()
            ? QVariant(QString::fromWCharArray(m_entries[static_cast<size_t>(i)]))
            : QVariant();
    platform::WriteProfileValue(m_strSection, EntryName(i), value);
  }
  m_bChanged = false;
}

CWinAppEx::CWinAppEx(BOOL bResourceSmartUpdate) : m_bResourceSmartUpdate(bResourceSmartUpdate) {}

CWinAppEx::~CWinAppEx() = default;

int CWinAppEx::GetInt(LPCWSTR lpszEntry, int nDefault) {
  return static_cast<int>(GetProfileInt(kWorkspaceSection, lpszEntry, nDefault));
}

BOOL CWinAppEx::WriteInt(LPCWSTR lpszEntry, int nValue) {
  return WriteProfileInt(kWorkspaceSection, lpszEntry, nValue);
}

void CWinAppEx::LoadState() {
  PreLoadState();
  LoadCustomState();
}

int AfxWinMain(int argc, char** argv) {
  platform::KeepLargeAllocationsReturnable();
  CWinApp* app = AfxGetApp();
  if (!app) return 1;
  app->m_argc = argc;
  app->m_argv = argv;
  // The engine keeps threads of its own until its application ends: ended here,
  // they are stopped before static destruction frees what they still use.
  const bool ownsApplication = !QCoreApplication::instance();
  const int exitCode = app->InitInstance() ? app->Run() : app->ExitInstance();
  if (ownsApplication) platform::EndApplication();
  return exitCode;
}
