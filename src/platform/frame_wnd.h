#pragma once

#include <memory>
#include <vector>

#include "platform/wnd.h"

class CDocTemplate;
class CDocument;
class CMFCToolBar;
class CView;

// What the framework hands a frame so that it can make its view.
class CCreateContext {
 public:
  const CRuntimeClass* m_pNewViewClass = nullptr;
  CDocument* m_pCurrentDoc = nullptr;
  CDocTemplate* m_pNewDocTemplate = nullptr;
};

constexpr DWORD FWS_ADDTOTITLE = 0x00008000;
constexpr UINT AFX_IDW_PANE_FIRST = 0xE900;

class CFrameWnd : public CWnd {
  DECLARE_DYNCREATE(CFrameWnd)

 public:
  // Creates the frame window from resource nIDResource: its title string, icon
  // and accelerator table.
  virtual BOOL LoadFrame(UINT nIDResource,
                         DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                         CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
  CView* GetActiveView() const { return m_pViewActive; }
  void SetActiveView(CView* pViewNew) { m_pViewActive = pViewNew; }
  CDocument* GetActiveDocument() const;
  void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
  virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
  // Places the view over the whole client area.
  virtual void RecalcLayout();
  // The command of the frame's accelerator table for a key, 0 for none.
  UINT TranslateAccelerator(UINT nVirtKey, BOOL bCtrl, BOOL bShift, BOOL bAlt) const;
  // The resource the frame was loaded from: its menu, accelerators and title.
  UINT GetResourceId() const { return m_nIDResource; }

  BOOL OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) override;

 protected:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
  void OnSize(UINT nType, int cx, int cy) override;
  void OnClose() override;
  void PostNcDestroy() override;
  CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);

  UINT m_nIDResource = 0;

 private:
  CView* m_pViewActive = nullptr;
};

// The framework's extended frame window, with up to ten user-defined toolbars
// that the settings store keeps from one run to the next.
class CFrameWndEx : public CFrameWnd {
  DECLARE_DYNCREATE(CFrameWndEx)

 public:
  CFrameWndEx();
  ~CFrameWndEx() override;

  // Also brings back the user-defined toolbars of earlier runs and, for the main
  // window, the place it last had as a restored window.
  BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                 CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
  // The iIndex-th user-defined toolbar (0 to 9) in order of creation, or null.
  CMFCToolBar* GetUserToolBarByIndex(int iIndex) const;

 protected:
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  // AFX_WM_CREATETOOLBAR: makes a user-defined toolbar named by lp (LPCWSTR) and
  // returns it; 0 for no name or when all ten exist.
  LRESULT OnToolbarCreateNew(WPARAM wp, LPARAM lp);

 private:
  bool IsMainWindow() const;
  void RestoreWindowPlacement();
  void StoreWindowPlacement();
  void LoadUserToolbars();
  void SaveUserToolbars() const;
  CMFCToolBar* AddUserToolbar(LPCWSTR lpszName);

  std::vector<std::unique_ptr<CMFCToolBar>> m_userToolbars;
};
