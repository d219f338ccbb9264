// The main frame's addition to the skinned caption: the about command.
#include <cstdlib>

#include "mainwnd/main_frm.h"
#include "skin/caption_buttons.h"

namespace {

constexpr char kAboutPath[] = "/about/index.htm?v3.7.1.1607051743";

}  // namespace

std::string AboutPageUrl() {
  const char* host = std::getenv("VINTREL_ABOUT_HOST");
  return std::string("http://") + (host && *host ? host : VINTREL_ABOUT_HOST_DEFAULT) + kAboutPath;
}

BOOL CMainFrame::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (wParam == skin::kAboutButtonId && g_handler) {
    if (CefRefPtr<CefBrowser> browser = g_handler->GetBrowser()) {
      browser->GetMainFrame()->LoadURL(AboutPageUrl());
    }
  }
  return CSkinFrameWnd::OnCommand(wParam, lParam);
}
