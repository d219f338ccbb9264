#pragma once

#include <string>
#include <vector>

#include "mainwnd/application_look.h"
#include "platform/single_instance.h"
#include "platform/win_app.h"

// The application object: start-up and shutdown of every process of the shell.
class CVintrelApp : public CWinAppEx, public IApplicationLook {
 public:
  CVintrelApp();

  BOOL InitInstance() override;
  int ExitInstance() override;
  void PreLoadState() override;
  void LoadCustomState() override {}
  void SaveCustomState() override {}

  // The application look: the id of the look command last sent, else what the
  // settings file holds (the main frame reads it), else 0. Nothing a user sees
  // follows it.
  int m_nApplicationLook = 0;
  int GetApplicationLook() const override { return m_nApplicationLook; }
  void SetApplicationLook(int look) override { m_nApplicationLook = look; }

 protected:
  BOOL OnOwnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) override;

 private:
  void OnAppAbout();
  // False when this process is not to open a window: another shell on the same
  // storage took its command line, or did not answer.
  bool ClaimStorageFolder(const CCommandLineInfo& cmdInfo);
  // A later launch on the same storage comes to this window.
  void OnLaunchHandedOver(const std::vector<std::string>& arguments);

  platform::CSingleInstance m_instance;
  // Start-up ended without a window for a reason other than a register command.
  bool m_bStartupFailed = false;
  // Start-up ended because the app folder's manifest is at fault.
  bool m_bManifestAtFault = false;
};
