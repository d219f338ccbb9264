#include "mainwnd/main_frm.h"

#include <cstdio>

#include "platform/command_ids.h"
#include "platform/system.h"
#include "res/resource.h"
#include "runtime/cef_app.h"

CefRefPtr<SimpleHandler> g_handler;

IMPLEMENT_DYNCREATE(CMainFrame, CSkinFrameWnd)

namespace {

constexpr DWORD kBrowserWindowStyle = 0x56010000;  // child, visible, clipping, tab stop
// The browser starts two pixels beyond the client area's top-left corner.
constexpr int kBrowserCreationOffset = -2;
// More than any screen holds: the window is given its screen's size, which is what
// it restores to before it has a place of its own (start-up shows it maximised).
constexpr int kRequestedWidth = 3500;
constexpr int kRequestedHeight = 2500;
constexpr wchar_t kOnlinePage[] = L"/request.html";
constexpr wchar_t kOfflinePage[] = L"/Error.html";

// The start page for the network state right now, as a file address.
CString StartPageUrl() {
  DWORD flags = 0;
  const CString page = IsNetworkAlive(&flags) ? kOnlinePage : kOfflinePage;
  return UrlFromPath(GetCurrentDirectoryString() + page);
}

}  // namespace

CMainFrame::CMainFrame() { ReadApplicationLook(); }

CMainFrame::~CMainFrame() { CefShutdown(); }

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs) {
  cs.hMenu = nullptr;
  if (!CSkinFrameWnd::PreCreateWindow(cs)) return FALSE;
  cs.cx = kRequestedWidth;
  cs.cy = kRequestedHeight;
  return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  lpCreateStruct->hMenu = nullptr;
  HICON icon = LoadIconW(reinterpret_cast<HINSTANCE>(GetModuleHandleW(nullptr)),
                         MAKEINTRESOURCEW(IDR_MAINFRAME));
  SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  if (CSkinFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;
  if (g_handler && g_handler->GetBrowser()) return 0;
  g_handler = new SimpleHandler();
  if (!CreateBrowser()) {
    // A frame without its browser would stay empty: start-up fails instead.
    std::fputs("vintrel: the browser could not be created\n", stderr);
    return -1;
  }
  return 0;
}

bool CMainFrame::CreateBrowser() {
  CRect client;
  GetClientRect(&client);
  CefWindowInfo windowInfo;
  windowInfo.style = kBrowserWindowStyle;
  windowInfo.x = kBrowserCreationOffset;
  windowInfo.y = kBrowserCreationOffset;
  windowInfo.width = client.right - kBrowserCreationOffset;
  windowInfo.height = client.bottom - kBrowserCreationOffset;
  windowInfo.parent_window = GetSafeHwnd();

  CefBrowserSettings settings;
  settings.local_storage = STATE_ENABLED;
  settings.databases = STATE_ENABLED;

  return CefBrowserHost::CreateBrowser(windowInfo, g_handler.get(), StartPageUrl().str(), settings,
                                       nullptr);
}

void CMainFrame::OnUpdateFrameTitle(BOOL bAddToTitle) {
  CSkinFrameWnd::OnUpdateFrameTitle(bAddToTitle);
  CString title;
  title.LoadString(AFX_IDS_APP_TITLE);
  SetWindowText(title);
}
