// Default processing of window messages: the window system's own behaviour.
#include <QWindow>

#include "platform/frame_hit_test.h"
#include "platform/menu.h"
#include "platform/qt/window_host.h"
#include "platform/wnd.h"

using platform::WindowHost;

namespace {

QPoint ScreenPoint(LPARAM lParam) { return QPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); }

LRESULT DefaultHitTest(const WindowHost& host, DWORD style, LPARAM lParam) {
  const QPoint p = host.mapFromGlobal(ScreenPoint(lParam));
  const QRect c = host.clientRect();
  const bool resizable = (style & WS_THICKFRAME) && !host.isMaximized() && !host.isMinimized();
  const platform::ResizeZones zones;
  return platform::DefaultFrameHitTest(
      SIZE{host.width(), host.height()},
      RECT{c.left(), c.top(), c.left() + c.width(), c.top() + c.height()}, POINT{p.x(), p.y()},
      resizable ? &zones : nullptr);
}

// Where a right-click opens the system menu rather than nothing.
bool OpensSystemMenu(LRESULT hitTest) {
  switch (hitTest) {
    case HTCAPTION:
    case HTSYSMENU:
    case HTMINBUTTON:
    case HTMAXBUTTON:
    case HTCLOSE:
      return true;
    default:
      return false;
  }
}

void ShowSystemMenu(CWnd& wnd, const QPoint& at) {
  if (CMenu* menu = wnd.GetSystemMenu(FALSE))
    menu->TrackPopupMenu(TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, at.x(), at.y(), &wnd);
}

void DefaultSysCommand(CWnd& wnd, WindowHost& host, UINT command, LPARAM lParam) {
  switch (command & 0xFFF0) {
    case SC_CLOSE:
      wnd.SendMessage(WM_CLOSE);
      break;
    case SC_MINIMIZE:
      wnd.ShowWindow(SW_MINIMIZE);
      break;
    case SC_MAXIMIZE:
      wnd.ShowWindow(SW_SHOWMAXIMIZED);
      break;
    case SC_RESTORE:
      wnd.ShowWindow(SW_RESTORE);
      break;
    case SC_MOVE:
      if (host.windowHandle()) host.windowHandle()->startSystemMove();
      break;
    case SC_SIZE:
      host.input().beginSystemResize(HTBOTTOMRIGHT);
      break;
    case SC_KEYMENU:
      // Alt+Space: the menu drops from the window's top-left corner.
      if (lParam == platform::kSystemMenuKey) ShowSystemMenu(wnd, host.mapToGlobal(QPoint(0, 0)));
      break;
    default:
      break;
  }
}

}  // namespace

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  WindowHost* h = host();
  switch (message) {
    case WM_NCCREATE:
    case WM_NCACTIVATE:
      return TRUE;
    case WM_NCCALCSIZE:
      if (wParam && (m_dwExStyle & WS_EX_CLIENTEDGE)) {
        RECT& r = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0];
        r = RECT{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
      }
      return 0;
    case WM_NCHITTEST:
      return h ? DefaultHitTest(*h, m_dwStyle, lParam) : HTNOWHERE;
    case WM_NCLBUTTONDOWN:
      if (!h) return 0;
      if (wParam == static_cast<WPARAM>(HTCAPTION)) {
        h->input().beginCaptionMove(ScreenPoint(lParam));
      } else if (wParam >= static_cast<WPARAM>(HTLEFT) &&
                 wParam <= static_cast<WPARAM>(HTBOTTOMRIGHT)) {
        h->input().beginSystemResize(static_cast<LRESULT>(wParam));
      }
      return 0;
    case WM_NCLBUTTONUP:
      if (h) h->input().cancelCaptionMove();
      return 0;
    case WM_SYSCOMMAND:
      if (h) DefaultSysCommand(*this, *h, static_cast<UINT>(wParam), lParam);
      return 0;
    case WM_NCRBUTTONUP:
      SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_hWnd), lParam);
      return 0;
    case WM_CONTEXTMENU:
      if (h && OpensSystemMenu(SendMessage(WM_NCHITTEST, 0, lParam)))
        ShowSystemMenu(*this, ScreenPoint(lParam));
      return 0;
    case WM_CLOSE:
      DestroyWindow();
      return 0;
    case WM_SETTEXT:
      m_strText = reinterpret_cast<LPCWSTR>(lParam);
      if (h) h->setWindowTitle(QString::fromWCharArray(m_strText));
      return TRUE;
    case WM_GETICON:
      return reinterpret_cast<LRESULT>(wParam == ICON_BIG ? m_hIconBig : m_hIconSmall);
    case WM_SETICON: {
      HICON& slot = wParam == ICON_BIG ? m_hIconBig : m_hIconSmall;
      HICON previous = slot;
      slot = reinterpret_cast<HICON>(lParam);
      return reinterpret_cast<LRESULT>(previous);
    }
    default:
      return 0;
  }
}
