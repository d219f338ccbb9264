#pragma once

#include <string>

#include "client/simple_handler.h"
#include "skin/skin_frame_wnd.h"

// The application's one top-level window: it hosts the embedded browser over its
// client area, under the skinned caption.
class CMainFrame : public CSkinFrameWnd {
  DECLARE_DYNCREATE(CMainFrame)

 public:
  CMainFrame();
  ~CMainFrame() override;

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  void OnUpdateFrameTitle(BOOL bAddToTitle) override;

 protected:
  int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

 private:
  // False when the runtime could not create it.
  bool CreateBrowser();

  // Application look and toolbar customisation (main_frm_look.cpp).
 public:
  BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                 CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;

 protected:
  BOOL OnOwnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) override;
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

 private:
  void ReadApplicationLook();
  void OnCustomizeToolbars();
  LRESULT OnCreateToolbar(WPARAM wp, LPARAM lp);
  void OnApplicationLook(UINT id);
  void OnUpdateApplicationLook(CCmdUI* pCmdUI);
};

// The browser client of the whole process; set when the main frame is created.
extern CefRefPtr<SimpleHandler> g_handler;

// The about page: the about host (VINTREL_ABOUT_HOST in the environment, or the
// one built in) with the fixed path and version query.
std::string AboutPageUrl();
