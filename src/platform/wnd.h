#pragma once

#include <memory>

#include "platform/cmd_target.h"
#include "platform/cstring.h"
#include "platform/geometry.h"
#include "platform/win_messages.h"

class CCreateContext;
class CDC;
class CMenu;
class CRgn;

namespace platform {
class WindowHost;
}

// A window: messages in, virtual handlers with the framework's names, and default
// processing for what a handler does not claim.
class CWnd : public CCmdTarget {
  DECLARE_DYNAMIC(CWnd)

 public:
  CWnd();
  ~CWnd() override;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND m_hWnd = nullptr;
  HWND GetSafeHwnd() const { return m_hWnd; }
  // The window object behind a handle, or null for a window that is not one.
  static CWnd* FromHandle(HWND hWnd);

  virtual BOOL Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle,
                      const RECT& rect, CWnd* pParentWnd, UINT nID,
                      CCreateContext* pContext = nullptr);
  BOOL CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle,
                int x, int y, int nWidth, int nHeight, HWND hWndParent, UINT nID,
                void* lpParam = nullptr);
  virtual BOOL DestroyWindow();

  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  // Queues the message; it is handled after the current message has returned.
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

  void GetWindowRect(LPRECT lpRect) const;  // screen coordinates
  void GetClientRect(LPRECT lpRect) const;  // client coordinates, origin (0, 0)
  void SetWindowText(LPCWSTR lpszString);
  CString GetWindowText() const;
  BOOL ShowWindow(int nCmdShow);
  void UpdateWindow();
  BOOL IsWindowVisible() const;
  BOOL IsZoomed() const;
  BOOL IsIconic() const;
  void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
  void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
  BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, CRgn* prgnUpdate = nullptr,
                    UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  CDC* GetWindowDC();
  int ReleaseDC(CDC* pDC);
  int SetWindowRgn(HRGN hRgn, BOOL bRedraw);
  CMenu* GetSystemMenu(BOOL bRevert);
  CWnd* GetParent() const;
  UINT GetDlgCtrlID() const { return m_nID; }
  DWORD GetStyle() const { return m_dwStyle; }
  DWORD GetExStyle() const { return m_dwExStyle; }
  HICON SetIcon(HICON hIcon, BOOL bBigIcon);
  HICON GetIcon(BOOL bBigIcon) const;
  void SetFocus();
  // Raises the window and asks the window system to make it the active one.
  BOOL SetForegroundWindow();

  platform::WindowHost* host() const;

 protected:
  // Runs default processing for the message being handled.
  LRESULT Default();
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
  virtual void PostNcDestroy() {}

  virtual BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
  virtual int OnCreate(LPCREATESTRUCT lpCreateStruct);
  virtual void OnDestroy();
  virtual void OnNcDestroy();
  virtual void OnClose();
  virtual void OnSize(UINT nType, int cx, int cy);
  virtual void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  virtual void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
  virtual void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
  virtual LRESULT OnNcHitTest(CPoint point);
  virtual void OnNcPaint();
  virtual BOOL OnNcActivate(BOOL bActive);
  virtual void OnNcMouseMove(UINT nHitTest, CPoint point);
  virtual void OnNcMouseLeave();
  virtual void OnNcLButtonDown(UINT nHitTest, CPoint point);
  virtual void OnNcLButtonUp(UINT nHitTest, CPoint point);
  virtual void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
  virtual void OnSysCommand(UINT nID, LPARAM lParam);

 private:
  void CloseAfterModalDialogs();

  struct Message {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  Message m_current{};
  DWORD m_dwStyle = 0;
  DWORD m_dwExStyle = 0;
  UINT m_nID = 0;
  HICON m_hIconSmall = nullptr;
  HICON m_hIconBig = nullptr;
  CString m_strText;
  std::unique_ptr<CMenu> m_pSystemMenu;
  // Expires with the object: a handler may destroy its own window (and with a
  // frame, the object) before the message that got there returns.
  std::shared_ptr<int> m_alive = std::make_shared<int>();

  friend class platform::WindowHost;
};

// The main window of the application, if any.
CWnd* AfxGetMainWnd();
// Ends the message loop with nExitCode once the current message has returned.
void PostQuitMessage(int nExitCode);
UINT RegisterWindowMessage(LPCWSTR lpString);
