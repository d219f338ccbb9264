// The main frame's additions to the skinned caption: the about button, the
// window's rounded region and the about command.
#include <cstdlib>

#include "mainwnd/main_frm.h"
#include "skin/skin_geometry.h"

namespace {

// The about button sits left of the minimise button: (W - 96, 8) to (W - 76, 30).
constexpr int kAboutButtonRightInset = 76;
constexpr int kAboutButtonWidth = 20;
constexpr int kAboutButtonTop = 8;
constexpr int kAboutButtonBottom = 30;

constexpr char kAboutPath[] = "/about/index.htm?v3.7.1.1607051743";

}  // namespace

std::string AboutPageUrl() {
  const char* host = std::getenv("VINTREL_ABOUT_HOST");
  return std::string("http://") + (host && *host ? host : VINTREL_ABOUT_HOST_DEFAULT) + kAboutPath;
}

void CMainFrame::OnSize(UINT nType, int cx, int cy) {
  CSkinFrameWnd::OnSize(nType, cx, cy);
  if (nType != SIZE_MINIMIZED && nType != SIZE_MAXHIDE) ApplyWindowRegion();
  const int width = WindowRectAtOrigin().Width();
  m_buttons[skin::kAboutButtonId].MoveTo(CRect(width - kAboutButtonRightInset - kAboutButtonWidth,
                                               kAboutButtonTop, width - kAboutButtonRightInset,
                                               kAboutButtonBottom));
  if (nType == SIZE_RESTORED || nType == SIZE_MAXIMIZED) OnNcPaint();
}

BOOL CMainFrame::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (wParam == skin::kAboutButtonId && g_handler) {
    if (CefRefPtr<CefBrowser> browser = g_handler->GetBrowser()) {
      browser->GetMainFrame()->LoadURL(AboutPageUrl());
    }
  }
  return CSkinFrameWnd::OnCommand(wParam, lParam);
}
