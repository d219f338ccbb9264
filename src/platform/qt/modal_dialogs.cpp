#include "platform/qt/modal_dialogs.h"

#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

namespace platform {

namespace {

// The toolkit drops the window manager's close request for a window that a modal
// dialog blocks, so a main window could not be closed under a dialog at all. Under
// X this filter takes such a request and closes the window itself; the window's own
// close handling then decides what happens.
class BlockedWindowCloser : public QAbstractNativeEventFilter {
 public:
  static std::unique_ptr<BlockedWindowCloser> Install() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection) return nullptr;  // another window system: it has no such request to take
    auto closer = std::unique_ptr<BlockedWindowCloser>(new BlockedWindowCloser(connection));
    qApp->installNativeEventFilter(closer.get());
    return closer;
  }

  ~BlockedWindowCloser() override { qApp->removeNativeEventFilter(this); }

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & ~0x80) != XCB_CLIENT_MESSAGE) return false;
    const auto* client = reinterpret_cast<const xcb_client_message_event_t*>(event);
    if (client->type != m_protocols || client->data.data32[0] != m_deleteWindow) return false;
    QWidget* window = QWidget::find(client->window);
    QWidget* modal = QApplication::activeModalWidget();
    if (!window || !modal || window == modal || modal->isAncestorOf(window)) return false;
    // Closed on the next turn, not from inside the toolkit's event dispatch.
    QMetaObject::invokeMethod(
        window, [window] { window->close(); }, Qt::QueuedConnection);
    return true;
  }

 private:
  explicit BlockedWindowCloser(xcb_connection_t* connection)
      : m_protocols(InternAtom(connection, "WM_PROTOCOLS")),
        m_deleteWindow(InternAtom(connection, "WM_DELETE_WINDOW")) {}

  static xcb_atom_t InternAtom(xcb_connection_t* connection, const QByteArray& name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(name.size()), name.constData());
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    free(reply);
    return atom;
  }

  const xcb_atom_t m_protocols;
  const xcb_atom_t m_deleteWindow;
};

// The dialogs and menus running now, the innermost last, and what waits for all of
// them to end.
struct ModalState {
  std::vector<QPointer<QWidget>> running;
  std::vector<std::function<void()>> afterwards;
  bool ending = false;
  std::unique_ptr<BlockedWindowCloser> closer;
};

ModalState& State() {
  static ModalState state;
  return state;
}

// One dialog's or menu's time on the stack of running ones.
class ModalRun {
 public:
  explicit ModalRun(QWidget& modal) {
    ModalState& state = State();
    if (state.running.empty()) state.closer = BlockedWindowCloser::Install();
    state.running.emplace_back(&modal);
  }

  ~ModalRun() {
    ModalState& state = State();
    state.running.pop_back();
    if (!state.running.empty()) return;
    state.closer.reset();
    state.ending = false;
    for (std::function<void()>& action : std::exchange(state.afterwards, {}))
      QMetaObject::invokeMethod(qApp, std::move(action), Qt::QueuedConnection);
  }

  ModalRun(const ModalRun&) = delete;
  ModalRun& operator=(const ModalRun&) = delete;
};

void LendOwnerWindow(QDialog& dialog, QWidget& owner) {
  dialog.winId();  // the dialog's window, to hang on the owner's for the window manager
  if (QWindow* ownerWindow = owner.window()->windowHandle())
    dialog.windowHandle()->setTransientParent(ownerWindow);
  // Queued: the owner is half destroyed when it says so.
  QObject::connect(&owner, &QObject::destroyed, &dialog, &QDialog::reject, Qt::QueuedConnection);
}

}  // namespace

int RunModal(QDialog& dialog, QWidget* owner) {
  Q_ASSERT(!dialog.parent());
  if (State().ending) return QDialog::Rejected;
  if (owner) LendOwnerWindow(dialog, *owner);
  const ModalRun running(dialog);
  return dialog.exec();
}

QAction* RunPopupMenu(QMenu& menu, const QPoint& at) {
  Q_ASSERT(!menu.parent());
  if (State().ending) return nullptr;
  const ModalRun running(menu);
  return menu.exec(at);
}

bool ModalDialogRunning() { return !State().running.empty(); }

void EndModalDialogsThen(std::function<void()> then) {
  ModalState& state = State();
  if (state.running.empty()) {
    QMetaObject::invokeMethod(qApp, std::move(then), Qt::QueuedConnection);
    return;
  }
  state.ending = true;
  state.afterwards.push_back(std::move(then));
  // The toolkit's own questions first (a file dialog's "replace it?"): they run
  // nested inside the dialogs here.
  for (QWidget* window : QApplication::topLevelWidgets()) {
    auto* dialog = qobject_cast<QDialog*>(window);
    if (dialog && dialog->isVisible() && dialog->isModal()) dialog->reject();
  }
  for (auto it = state.running.rbegin(); it != state.running.rend(); ++it) {
    if (auto* dialog = qobject_cast<QDialog*>(it->data())) {
      dialog->reject();
    } else if (*it) {
      (*it)->close();  // a menu, dismissed
    }
  }
}

}  // namespace platform
