#include "platform/wnd.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWindow>

#include <map>

#include "platform/menu.h"
#include "platform/qt/application.h"
#include "platform/qt/modal_dialogs.h"
#include "platform/qt/window_host.h"
#include "platform/win_app.h"

using platform::WindowHost;

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

CWnd::CWnd() = default;

CWnd::~CWnd() {
  if (WindowHost* h = host()) {
    h->detachOwner();
    h->hide();
    h->deleteLater();
  }
}

platform::WindowHost* CWnd::host() const { return WindowHost::fromHandle(m_hWnd); }

CWnd* CWnd::FromHandle(HWND hWnd) {
  WindowHost* h = WindowHost::fromHandle(hWnd);
  return h ? h->owner() : nullptr;
}

BOOL CWnd::Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext* pContext) {
  return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top,
                  pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr, nID, pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle,
                    int x, int y, int nWidth, int nHeight, HWND hWndParent, UINT nID,
                    void* lpParam) {
  platform::EnsureApplication();
  CREATESTRUCT cs{lpParam,
                  nullptr,
                  nullptr,
                  hWndParent,
                  nHeight,
                  nWidth,
                  y,
                  x,
                  static_cast<LONG>(dwStyle),
                  lpszWindowName,
                  lpszClassName,
                  dwExStyle};
  // Every failure ends in PostNcDestroy, so objects that delete themselves there
  // do so whether or not their window ever existed.
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  m_dwStyle = static_cast<DWORD>(cs.style);
  m_dwExStyle = cs.dwExStyle;
  m_nID = nID;
  m_strText = cs.lpszName;

  QWidget* parent = (m_dwStyle & WS_CHILD) ? platform::ChildContainerOf(cs.hwndParent) : nullptr;
  auto* h = new WindowHost(this, cs, parent);
  m_hWnd = platform::HandleOf(h);
  if (!SendMessage(WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    m_hWnd = nullptr;
    delete h;
    PostNcDestroy();
    return FALSE;
  }
  h->recalcNonClient();
  if (SendMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow();
    return FALSE;
  }
  h->applyMinMaxInfo();
  h->reportSize();
  if (m_dwStyle & WS_VISIBLE) ShowWindow(SW_SHOW);
  return TRUE;
}

BOOL CWnd::DestroyWindow() {
  WindowHost* h = host();
  if (!h) return FALSE;
  SendMessage(WM_DESTROY);
  for (WindowHost* child : h->clientArea()->findChildren<WindowHost*>(Qt::FindDirectChildrenOnly)) {
    if (CWnd* wnd = child->owner()) wnd->DestroyWindow();
  }
  SendMessage(WM_NCDESTROY);
  // The host may be the sender of the message being handled: it goes once that
  // returns, together with every child widget still in it.
  h->detachOwner();
  h->hide();
  h->deleteLater();
  m_hWnd = nullptr;
  PostNcDestroy();
  return TRUE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  return result;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const Message saved = m_current;
  m_current = {message, wParam, lParam};
  const std::weak_ptr<int> alive = m_alive;
  const LRESULT result = WindowProc(message, wParam, lParam);
  if (!alive.expired()) m_current = saved;
  return result;
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  WindowHost* h = host();
  if (!h) return FALSE;
  QPointer<WindowHost> target(h);
  return QMetaObject::invokeMethod(
      h,
      [target, message, wParam, lParam] {
        if (target && target->owner()) target->owner()->SendMessage(message, wParam, lParam);
      },
      Qt::QueuedConnection);
}

LRESULT CWnd::Default() {
  return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  const UINT hitTest = static_cast<UINT>(wParam);
  LRESULT result = 0;
  switch (message) {
    case WM_NCCREATE:
      result = OnNcCreate(reinterpret_cast<LPCREATESTRUCT>(lParam));
      break;
    case WM_CREATE:
      result = OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam));
      break;
    case WM_DESTROY:
      OnDestroy();
      break;
    case WM_NCDESTROY:
      OnNcDestroy();
      break;
    case WM_CLOSE:
      CloseAfterModalDialogs();
      break;
    case WM_SIZE:
      OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
      break;
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam), FromHandle(reinterpret_cast<HWND>(lParam)), HIWORD(wParam));
      break;
    case WM_GETMINMAXINFO:
      OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
      break;
    case WM_NCCALCSIZE:
      OnNcCalcSize(static_cast<BOOL>(wParam), reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam));
      break;
    case WM_NCHITTEST:
      result = OnNcHitTest(point);
      break;
    case WM_NCPAINT:
      OnNcPaint();
      break;
    case WM_NCACTIVATE:
      result = OnNcActivate(static_cast<BOOL>(wParam));
      break;
    case WM_NCMOUSEMOVE:
      OnNcMouseMove(hitTest, point);
      break;
    case WM_NCMOUSELEAVE:
      OnNcMouseLeave();
      break;
    case WM_NCLBUTTONDOWN:
      OnNcLButtonDown(hitTest, point);
      break;
    case WM_NCLBUTTONUP:
      OnNcLButtonUp(hitTest, point);
      break;
    case WM_NCLBUTTONDBLCLK:
      OnNcLButtonDblClk(hitTest, point);
      break;
    case WM_SYSCOMMAND:
      OnSysCommand(static_cast<UINT>(wParam), lParam);
      break;
    case WM_COMMAND:
      if (!OnCommand(wParam, lParam)) return FALSE;
      result = 1;
      break;
    default:
      return FALSE;
  }
  *pResult = result;
  return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM) {
  return OnCmdMsg(LOWORD(wParam), CN_COMMAND, nullptr);
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT&) { return TRUE; }

BOOL CWnd::OnNcCreate(LPCREATESTRUCT) { return static_cast<BOOL>(Default()); }
int CWnd::OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnNcDestroy() {
  CWinApp* app = AfxGetApp();
  if (app && app->m_pMainWnd == this) {
    app->m_pMainWnd = nullptr;
    PostQuitMessage(0);
  }
  Default();
}
void CWnd::OnClose() { Default(); }

void CWnd::CloseAfterModalDialogs() {
  if (!platform::ModalDialogRunning()) {
    OnClose();
    return;
  }
  // Closing now would destroy what the dialogs' callers stand on, deeper in this
  // stack: they end first, as cancelled, and the window closes once they have returned.
  QPointer<WindowHost> target(host());
  platform::EndModalDialogsThen([target] {
    if (target && target->owner()) target->owner()->SendMessage(WM_CLOSE);
  });
}
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
void CWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { Default(); }
LRESULT CWnd::OnNcHitTest(CPoint) { return Default(); }
void CWnd::OnNcPaint() { Default(); }
BOOL CWnd::OnNcActivate(BOOL) { return static_cast<BOOL>(Default()); }
void CWnd::OnNcMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnNcMouseLeave() { Default(); }
void CWnd::OnNcLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }

void CWnd::GetWindowRect(LPRECT lpRect) const {
  QRect r;
  if (WindowHost* h = host()) r = QRect(h->mapToGlobal(QPoint(0, 0)), h->size());
  *lpRect = RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

void CWnd::GetClientRect(LPRECT lpRect) const {
  const QRect r = host() ? host()->clientRect() : QRect();
  *lpRect = RECT{0, 0, r.width(), r.height()};
}

void CWnd::SetWindowText(LPCWSTR lpszString) {
  SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpszString));
}

CString CWnd::GetWindowText() const { return m_strText; }

BOOL CWnd::ShowWindow(int nCmdShow) {
  WindowHost* h = host();
  if (!h) return FALSE;
  const BOOL wasVisible = h->isVisible();
  const bool topLevel = h->isWindow();
  switch (nCmdShow) {
    case SW_HIDE:
      h->hide();
      break;
    case SW_SHOWMAXIMIZED:
      topLevel ? h->showMaximizedAtOnce() : h->show();
      break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
      topLevel ? h->showMinimized() : h->show();
      break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
      if (topLevel && h->isMinimized()) {
        h->setWindowState(h->windowState() & ~Qt::WindowMinimized);
        h->show();
      } else {
        topLevel ? h->showNormal() : h->show();
      }
      break;
    default:
      h->show();
      break;
  }
  return wasVisible;
}

void CWnd::UpdateWindow() {
  if (WindowHost* h = host()) h->paintNow();
}

BOOL CWnd::IsWindowVisible() const { return host() && host()->isVisible(); }
BOOL CWnd::IsZoomed() const { return host() && host()->isMaximized(); }
BOOL CWnd::IsIconic() const { return host() && host()->isMinimized(); }

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL) {
  WindowHost* h = host();
  if (!h) return;
  h->setGeometry(x, y, nWidth, nHeight);
  // Qt holds resize events back for hidden widgets; the window system does not.
  if (!h->isVisible()) h->applyGeometry();
}

void CWnd::InvalidateRect(LPCRECT lpRect, BOOL) {
  WindowHost* h = host();
  if (!h) return;
  if (lpRect) {
    h->update(
        QRect(QPoint(lpRect->left, lpRect->top), QPoint(lpRect->right - 1, lpRect->bottom - 1)));
  } else {
    h->update();
  }
}

BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, CRgn*, UINT flags) {
  WindowHost* h = host();
  if (!h) return FALSE;
  if (flags & RDW_INVALIDATE) {
    // With RDW_FRAME the non-client area is painted again too (WM_NCPAINT), and
    // with RDW_ALLCHILDREN that of every child window.
    if (flags & RDW_FRAME) h->surface().markStale();
    InvalidateRect(lpRectUpdate, flags & RDW_ERASE);
    if (flags & RDW_ALLCHILDREN) {
      for (QWidget* child : h->findChildren<QWidget*>()) {
        auto* childHost = dynamic_cast<WindowHost*>(child);
        if (childHost && (flags & RDW_FRAME)) childHost->surface().markStale();
        child->update();
      }
    }
  }
  if (flags & RDW_UPDATENOW) h->repaint();
  return TRUE;
}

CWnd* CWnd::GetParent() const {
  WindowHost* h = host();
  if (!h) return nullptr;
  for (QWidget* w = h->parentWidget(); w; w = w->parentWidget()) {
    if (auto* parentHost = dynamic_cast<WindowHost*>(w)) return parentHost->owner();
  }
  return nullptr;
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon) {
  return reinterpret_cast<HICON>(
      SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
}

HICON CWnd::GetIcon(BOOL bBigIcon) const { return bBigIcon ? m_hIconBig : m_hIconSmall; }

CMenu* CWnd::GetSystemMenu(BOOL) {
  if (!host()) return nullptr;
  const bool maximized = IsZoomed();
  const bool minimized = IsIconic();
  const bool sizable = m_dwStyle & WS_THICKFRAME;
  m_pSystemMenu = std::make_unique<CMenu>();
  m_pSystemMenu->m_bSystemMenu = true;
  // The usual items, enabled for the window's state.
  const struct {
    UINT id;
    LPCWSTR text;
    bool enabled;
  } items[] = {
      {SC_RESTORE, L"&Restore", maximized || minimized},
      {SC_MOVE, L"&Move", !maximized},
      {SC_SIZE, L"&Size", sizable && !maximized && !minimized},
      {SC_MINIMIZE, L"Mi&nimize", !minimized},
      {SC_MAXIMIZE, L"Ma&ximize", !maximized},
  };
  for (const auto& item : items) {
    m_pSystemMenu->AppendMenu(item.enabled ? MF_STRING : MF_GRAYED, item.id, item.text);
  }
  m_pSystemMenu->AppendMenu(MF_SEPARATOR);
  m_pSystemMenu->AppendMenu(MF_STRING, SC_CLOSE, L"&Close\tAlt+F4");
  return m_pSystemMenu.get();
}

void CWnd::SetFocus() {
  if (WindowHost* h = host()) h->setFocus();
}

BOOL CWnd::SetForegroundWindow() {
  WindowHost* h = host();
  if (!h) return FALSE;
  h->raise();
  h->activateWindow();
  return TRUE;
}

CWnd* AfxGetMainWnd() {
  CWinApp* app = AfxGetApp();
  return app ? app->m_pMainWnd : nullptr;
}

void PostQuitMessage(int nExitCode) {
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [nExitCode] { QCoreApplication::exit(nExitCode); },
      Qt::QueuedConnection);
}

UINT RegisterWindowMessage(LPCWSTR lpString) {
  // Registered messages take ids from 0xC000 up, the same id for the same name.
  static std::map<std::wstring, UINT> registered;
  return registered.try_emplace(lpString, 0xC000 + static_cast<UINT>(registered.size()))
      .first->second;
}
