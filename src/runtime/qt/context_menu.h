#pragma once

#include <QPoint>
#include <QWebEnginePage>

#include <memory>
#include <vector>

#include "runtime/cef_menu_model.h"

class QMenu;
class QWebEngineContextMenuRequest;
class QWebEngineView;

namespace runtime {

class BrowserImpl;

// Command ids of the engine's own items: this base plus the engine action.
constexpr int kEngineCommandFirst = 100;
constexpr int kSeparatorCommandId = -1;

bool IsEngineCommand(int commandId);
QWebEnginePage::WebAction EngineActionOf(int commandId);

class MenuModelImpl : public CefMenuModel {
 public:
  bool Clear() override;
  int GetCount() override { return static_cast<int>(m_items.size()); }
  bool AddItem(int command_id, const CefString& label) override;
  int GetCommandIdAt(int index) override;
  CefString GetLabelAt(int index) override;

  void AddSeparator();

 private:
  struct Item {
    int commandId;
    CefString label;
  };
  bool IsValidIndex(int index) const {
    return index >= 0 && index < static_cast<int>(m_items.size());
  }

  std::vector<Item> m_items;
  IMPLEMENT_REFCOUNTING(MenuModelImpl);
};

class ContextMenuParamsImpl : public CefContextMenuParams {
 public:
  explicit ContextMenuParamsImpl(TypeFlags flags) : m_flags(flags) {}
  TypeFlags GetTypeFlags() override { return m_flags; }

 private:
  const TypeFlags m_flags;
  IMPLEMENT_REFCOUNTING(ContextMenuParamsImpl);
};

// What was right-clicked, as the runtime's type flags.
TypeFlags TypeFlagsOf(const QWebEngineContextMenuRequest& request);

// Fills model with the items the engine itself would show.
void AddEngineItems(MenuModelImpl& model, QWebEngineView& view);

// The pop-up menu for model; each action carries its command id as data.
std::unique_ptr<QMenu> MenuFromModel(CefMenuModel& model);

// Builds the menu for the view's last right-click, lets the client change it,
// shows it at globalPos and carries out the choice.
void RunContextMenu(BrowserImpl& browser, QWebEngineView& view, const QPoint& globalPos);

}  // namespace runtime
