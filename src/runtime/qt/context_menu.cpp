#include "runtime/qt/context_menu.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QWebEngineContextMenuRequest>
#include <QWebEngineView>

#include <optional>

#include "platform/qt/look.h"
#include "runtime/cef_client.h"
#include "runtime/qt/browser_impl.h"
#include "runtime/qt/qt_strings.h"

namespace runtime {

namespace {

// The engine action behind one of the view's page actions, if any.
std::optional<QWebEnginePage::WebAction> EngineActionFor(QWebEngineView& view, QAction* action) {
  for (int i = 0; i < QWebEnginePage::WebActionCount; ++i) {
    const auto webAction = static_cast<QWebEnginePage::WebAction>(i);
    if (view.pageAction(webAction) == action) return webAction;
  }
  return std::nullopt;
}

}  // namespace

bool IsEngineCommand(int commandId) {
  return commandId >= kEngineCommandFirst &&
         commandId < kEngineCommandFirst + QWebEnginePage::WebActionCount;
}

QWebEnginePage::WebAction EngineActionOf(int commandId) {
  return static_cast<QWebEnginePage::WebAction>(commandId - kEngineCommandFirst);
}

bool MenuModelImpl::Clear() {
  m_items.clear();
  return true;
}

bool MenuModelImpl::AddItem(int command_id, const CefString& label) {
  m_items.push_back({command_id, label});
  return true;
}

int MenuModelImpl::GetCommandIdAt(int index) {
  return IsValidIndex(index) ? m_items[index].commandId : kSeparatorCommandId;
}

CefString MenuModelImpl::GetLabelAt(int index) {
  return IsValidIndex(index) ? m_items[index].label : CefString();
}

void MenuModelImpl::AddSeparator() { m_items.push_back({kSeparatorCommandId, CefString()}); }

TypeFlags TypeFlagsOf(const QWebEngineContextMenuRequest& request) {
  TypeFlags flags = CM_TYPEFLAG_PAGE;
  if (!request.linkUrl().isEmpty()) flags |= CM_TYPEFLAG_LINK;
  if (request.mediaType() != QWebEngineContextMenuRequest::MediaTypeNone)
    flags |= CM_TYPEFLAG_MEDIA;
  if (!request.selectedText().isEmpty()) flags |= CM_TYPEFLAG_SELECTION;
  if (request.isContentEditable()) flags |= CM_TYPEFLAG_EDITABLE;
  return flags;
}

void AddEngineItems(MenuModelImpl& model, QWebEngineView& view) {
  const std::unique_ptr<QMenu> standard(view.createStandardContextMenu());
  if (!standard) return;
  bool separatorPending = false;
  for (QAction* action : standard->actions()) {
    if (action->isSeparator()) {
      separatorPending = model.GetCount() > 0;
      continue;
    }
    const std::optional<QWebEnginePage::WebAction> webAction = EngineActionFor(view, action);
    if (!webAction) continue;
    if (separatorPending) model.AddSeparator();
    separatorPending = false;
    model.AddItem(kEngineCommandFirst + *webAction, ToCefString(action->text()));
  }
}

std::unique_ptr<QMenu> MenuFromModel(CefMenuModel& model) {
  auto menu = std::make_unique<QMenu>();
  platform::ApplyPopupMenuLook(*menu);
  for (int i = 0; i < model.GetCount(); ++i) {
    const int commandId = model.GetCommandIdAt(i);
    if (commandId == kSeparatorCommandId) {
      menu->addSeparator();
      continue;
    }
    // '&' marks the access key, as it does for Qt.
    menu->addAction(ToQString(model.GetLabelAt(i)))->setData(commandId);
  }
  return menu;
}

void RunContextMenu(BrowserImpl& browser, QWebEngineView& view, const QPoint& globalPos) {
  const CefRefPtr<BrowserImpl> keepAlive(&browser);  // the menu may outlive the view
  QWebEngineContextMenuRequest* request = view.lastContextMenuRequest();
  if (!request) return;
  CefRefPtr<ContextMenuParamsImpl> params(new ContextMenuParamsImpl(TypeFlagsOf(*request)));
  CefRefPtr<MenuModelImpl> model(new MenuModelImpl);
  AddEngineItems(*model, view);
  CefRefPtr<CefClient> client = browser.client();
  CefRefPtr<CefContextMenuHandler> handler = client ? client->GetContextMenuHandler() : nullptr;
  // The engine does not say which frame was clicked.
  CefRefPtr<CefFrame> frame = browser.GetMainFrame();
  if (handler) handler->OnBeforeContextMenu(&browser, frame, params, model);
  if (model->GetCount() == 0) return;

  const std::unique_ptr<QMenu> menu = MenuFromModel(*model);
  QAction* chosen = menu->exec(globalPos);
  if (chosen) {
    const int commandId = chosen->data().toInt();
    const bool handled =
        handler && handler->OnContextMenuCommand(&browser, frame, params, commandId, 0);
    if (!handled && IsEngineCommand(commandId) && browser.page())
      browser.page()->triggerAction(EngineActionOf(commandId));
  }
  if (handler) handler->OnContextMenuDismissed(&browser, frame);
}

}  // namespace runtime
