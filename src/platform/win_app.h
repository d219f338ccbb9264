#pragma once

#include <memory>
#include <vector>

#include "platform/cmd_target.h"
#include "platform/cstring.h"

class CContextMenuManager;
class CDocTemplate;
class CKeyboardManager;
class CTooltipManager;
class CWnd;

class CCommandLineInfo {
 public:
  enum { FileNew, FileOpen, AppRegister, AppUnregister, FileNothing } m_nShellCommand = FileNew;
  CString m_strFileName;
  // Takes one command-line argument; engine switches (--...) are not the shell's.
  void ParseParam(const char* pszParam);
};

class CRecentFileList {
 public:
  CRecentFileList(LPCWSTR lpszSection, LPCWSTR lpszEntryFormat, int nSize);
  void Add(LPCWSTR lpszPathName);
  void ReadList();
  // Writes the list back to the settings store if it changed since it was read.
  void WriteList();
  int GetSize() const { return m_nSize; }
  const std::vector<CString>& entries() const { return m_entries; }

 private:
  CString EntryName(int index) const;

  CString m_strSection;
  CString m_strEntryFormat;
  int m_nSize;
  std::vector<CString> m_entries;
  bool m_bChanged = false;
};

// The application object: one per process, driven by AfxWinMain.
class CWinApp : public CCmdTarget {
  DECLARE_DYNAMIC(CWinApp)

 public:
  explicit CWinApp(LPCWSTR lpszAppName = nullptr);
  ~CWinApp() override;

  virtual BOOL InitInstance() { return TRUE; }
  virtual int ExitInstance();
  // The message loop; returns the exit code of the quit message.
  virtual int Run();

  void SetRegistryKey(LPCWSTR lpszRegistryKey);
  void LoadStdProfileSettings(UINT nMaxMRU = 4);
  UINT GetProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nDefault);
  BOOL WriteProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nValue);
  CString GetProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszDefault = L"");
  BOOL WriteProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszValue);

  void AddDocTemplate(CDocTemplate* pTemplate);
  void ParseCommandLine(CCommandLineInfo& rCmdInfo);
  BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);
  virtual void AddToRecentFileList(LPCWSTR lpszPathName);
  CRecentFileList* recentFileList() const { return m_pRecentFileList.get(); }

  CWnd* m_pMainWnd = nullptr;
  CString m_strAppName;
  CString m_strRegistryKey;
  UINT m_nNumPreviewPages = 0;
  int m_argc = 0;
  char** m_argv = nullptr;

 protected:
  void OnFileNew();
  void OnFileOpen();
  void OnFilePrintSetup();

 private:
  std::vector<std::unique_ptr<CDocTemplate>> m_templates;
  std::unique_ptr<CRecentFileList> m_pRecentFileList;
  BOOL m_bRegisterOnly = FALSE;
  int m_nExitCode = 0;
};

// The framework's extended application: settings store and the managers.
class CWinAppEx : public CWinApp {
  DECLARE_DYNAMIC(CWinAppEx)

 public:
  explicit CWinAppEx(BOOL bResourceSmartUpdate = FALSE);
  ~CWinAppEx() override;

  // The application makes the managers at start-up; nothing reads them. These are
  // defined with the managers, in platform/unreached/managers.cpp, which a program that
  // calls them links.
  BOOL InitContextMenuManager();
  BOOL InitKeyboardManager();
  BOOL InitTooltipManager();
  CContextMenuManager* GetContextMenuManager() const { return m_pContextMenuManager.get(); }
  CKeyboardManager* GetKeyboardManager() const { return m_pKeyboardManager.get(); }
  CTooltipManager* GetTooltipManager() const { return m_pTooltipManager.get(); }

  // Values of the application's workspace section in the settings store.
  int GetInt(LPCWSTR lpszEntry, int nDefault = 0);
  BOOL WriteInt(LPCWSTR lpszEntry, int nValue);

  // Called when the frame is about to load the saved workspace state.
  void LoadState();
  virtual void PreLoadState() {}
  virtual void LoadCustomState() {}
  virtual void SaveCustomState() {}

  BOOL m_bResourceSmartUpdate;

 private:
  // Shared, not unique: their deleters are chosen where they are made, so this class
  // needs nothing of the managers it holds.
  std::shared_ptr<CContextMenuManager> m_pContextMenuManager;
  std::shared_ptr<CKeyboardManager> m_pKeyboardManager;
  std::shared_ptr<CTooltipManager> m_pTooltipManager;
};

CWinApp* AfxGetApp();
// The framework's process entry: InitInstance, the message loop, ExitInstance.
int AfxWinMain(int argc, char** argv);
