#include "client/debug_marker.h"
#include "client/simple_handler.h"

namespace {

constexpr int kCommandRefresh = 0;
constexpr int kCommandShowDevTools = 1;
constexpr char kLabelRefresh[] = "Refresh";
constexpr char kLabelShowDevTools[] = "&Show DevTools";
constexpr char kDevToolsWindowName[] = "DevTools";

}  // namespace

void SimpleHandler::OnBeforeContextMenu(CefRefPtr<CefBrowser>, CefRefPtr<CefFrame>,
                                        CefRefPtr<CefContextMenuParams> params,
                                        CefRefPtr<CefMenuModel> model) {
  if (!(params->GetTypeFlags() & (CM_TYPEFLAG_PAGE | CM_TYPEFLAG_FRAME))) return;
  if (model->GetCount() > 0) model->Clear();
  model->AddItem(kCommandRefresh, kLabelRefresh);
  if (DebugMarkerExists()) model->AddItem(kCommandShowDevTools, kLabelShowDevTools);
}

bool SimpleHandler::OnContextMenuCommand(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame>,
                                         CefRefPtr<CefContextMenuParams>, int command_id,
                                         EventFlags) {
  switch (command_id) {
    case kCommandRefresh:
      browser->Reload();
      return false;
    case kCommandShowDevTools:
      ShowDevTools(browser);
      return true;
    default:
      return true;
  }
}

void SimpleHandler::ShowDevTools(CefRefPtr<CefBrowser> browser) {
  CefWindowInfo windowInfo;
  windowInfo.SetAsPopup(browser->GetHost()->GetWindowHandle(), kDevToolsWindowName);
  CefBrowserSettings settings;
  browser->GetHost()->ShowDevTools(windowInfo, this, settings, CefPoint());
}
