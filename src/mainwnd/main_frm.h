#pragma once

#include "client/simple_handler.h"
#include "platform/frame_wnd.h"

// The application's one top-level window: it hosts the embedded browser over its
// client area.
class CMainFrame : public CFrameWndEx {
  DECLARE_DYNCREATE(CMainFrame)

 public:
  CMainFrame();
  ~CMainFrame() override;

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  void OnUpdateFrameTitle(BOOL bAddToTitle) override;

 protected:
  int OnCreate(LPCREATESTRUCT lpCreateStruct) override;

 private:
  void CreateBrowser();
};

// The browser client of the whole process; set when the main frame is created.
extern CefRefPtr<SimpleHandler> g_handler;
