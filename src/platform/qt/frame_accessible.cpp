#include "platform/qt/frame_accessible.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QCoreApplication>
#include <QPointer>
#include <QWindow>

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

#include "platform/accessible_caption.h"
#include "platform/qt/window_host.h"
#include "platform/wnd.h"

namespace platform {

namespace {

IAccessibleCaption* CaptionOf(const WindowHost* host) {
  return host ? dynamic_cast<IAccessibleCaption*>(host->owner()) : nullptr;
}

// The caption's buttons from left to right, the order a reader reads them in.
std::vector<AccessibleCaptionButton> ButtonsOf(const WindowHost* host) {
  const IAccessibleCaption* caption = CaptionOf(host);
  if (!caption) return {};
  std::vector<AccessibleCaptionButton> buttons = caption->AccessibleCaptionButtons();
  std::stable_sort(buttons.begin(), buttons.end(),
                   [](const auto& a, const auto& b) { return a.rect.left < b.rect.left; });
  return buttons;
}

QString Translated(const TranslatableText& text) {
  return QCoreApplication::translate(text.context, text.source);
}

// One caption button. It has no object of its own: it asks its window's owner
// for what it is each time, so it never shows a stale name or place.
class CaptionButtonAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  CaptionButtonAccessible(WindowHost* host, UINT id) : m_host(host), m_id(id) {}

  bool isValid() const override { return current().has_value(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return m_host ? m_host->windowHandle() : nullptr; }
  QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(
      QAccessible::Relation) const override {
    return {};
  }
  QAccessibleInterface* focusChild() const override { return nullptr; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override {
    return m_host ? QAccessible::queryAccessibleInterface(m_host.data()) : nullptr;
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }

  QString text(QAccessible::Text t) const override {
    const std::optional<AccessibleCaptionButton> button = current();
    return button && t == QAccessible::Name ? Translated(button->name) : QString();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    const std::optional<AccessibleCaptionButton> button = current();
    if (!button) return QRect();
    const RECT& r = button->rect;
    return QRect(m_host->mapToGlobal(QPoint(r.left, r.top)),
                 QSize(r.right - r.left, r.bottom - r.top));
  }
  QAccessible::Role role() const override { return QAccessible::PushButton; }
  QAccessible::State state() const override {
    QAccessible::State state;
    const std::optional<AccessibleCaptionButton> button = current();
    state.disabled = !button || !button->enabled;
    state.invisible = !button || !m_host->isVisible() || m_host->isMinimized();
    return state;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                : nullptr;
  }

  QStringList actionNames() const override { return {pressAction()}; }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }
  void doAction(const QString& actionName) override {
    if (actionName != pressAction() || !isValid()) return;
    // Posted: pressing Close destroys the window, which must not happen inside
    // the request that asked for it.
    const UINT id = m_id;
    QMetaObject::invokeMethod(
        m_host.data(),
        [host = m_host, id] {
          if (IAccessibleCaption* caption = CaptionOf(host.data())) caption->PressCaptionButton(id);
        },
        Qt::QueuedConnection);
  }

 private:
  std::optional<AccessibleCaptionButton> current() const {
    for (const AccessibleCaptionButton& button : ButtonsOf(m_host.data())) {
      if (button.id == m_id) return button;
    }
    return std::nullopt;
  }

  QPointer<WindowHost> m_host;
  const UINT m_id;
};

// A top-level window: a frame named by its title, its caption buttons first,
// then what its client area holds.
class FrameAccessible : public QAccessibleWidget {
 public:
  explicit FrameAccessible(WindowHost* host)
      : QAccessibleWidget(host, QAccessible::Window), m_host(host) {}

  ~FrameAccessible() override {
    for (const auto& [id, registered] : m_buttons)
      QAccessible::deleteAccessibleInterface(registered);
  }

  QString text(QAccessible::Text t) const override {
    // The title the window system shows, minimised too: the toolkit would name
    // a minimised window by its icon text, which nothing sets.
    const QWindow* shown = m_host->windowHandle();
    if (t == QAccessible::Name && shown) return shown->title();
    return QAccessibleWidget::text(t);
  }

  int childCount() const override {
    return int(ButtonsOf(m_host).size()) + QAccessibleWidget::childCount();
  }

  QAccessibleInterface* child(int index) const override {
    const std::vector<AccessibleCaptionButton> buttons = ButtonsOf(m_host);
    if (index < 0) return nullptr;
    if (size_t(index) < buttons.size()) return button(buttons[size_t(index)].id);
    return QAccessibleWidget::child(index - int(buttons.size()));
  }

  int indexOfChild(const QAccessibleInterface* child) const override {
    const std::vector<AccessibleCaptionButton> buttons = ButtonsOf(m_host);
    for (size_t i = 0; i < buttons.size(); ++i) {
      const auto registered = m_buttons.find(buttons[i].id);
      if (registered != m_buttons.end() &&
          QAccessible::accessibleInterface(registered->second) == child)
        return int(i);
    }
    const int index = QAccessibleWidget::indexOfChild(child);
    return index < 0 ? index : index + int(buttons.size());
  }

  QAccessibleInterface* childAt(int x, int y) const override {
    for (const AccessibleCaptionButton& each : ButtonsOf(m_host)) {
      QAccessibleInterface* candidate = button(each.id);
      if (candidate && candidate->rect().contains(x, y)) return candidate;
    }
    // The widget on top: the client area's widgets overlap (the page lies over
    // its view), and a search by rectangles alone would stop at the first one.
    QWidget* top = m_host->childAt(m_host->mapFromGlobal(QPoint(x, y)));
    return top ? QAccessible::queryAccessibleInterface(top) : nullptr;
  }

  // The button's interface, made and registered on first use; the frame owns it.
  QAccessibleInterface* button(UINT id) const {
    const auto registered = m_buttons.find(id);
    if (registered != m_buttons.end()) return QAccessible::accessibleInterface(registered->second);
    auto* made = new CaptionButtonAccessible(m_host, id);
    m_buttons[id] = QAccessible::registerAccessibleInterface(made);
    return made;
  }

 private:
  WindowHost* const m_host;
  mutable std::map<UINT, QAccessible::Id> m_buttons;
};

// Tells assistive technologies when a caption button's name changes with the
// window's state ("Maximize" becomes "Restore").
class CaptionNameAnnouncer : public QObject {
 public:
  explicit CaptionNameAnnouncer(WindowHost* host) : QObject(host), m_host(host) {
    remember();
    host->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == m_host && event->type() == QEvent::WindowStateChange) {
      // After the owner has seen the change: it decides the names.
      QMetaObject::invokeMethod(
          this, [this] { announceChanges(); }, Qt::QueuedConnection);
    }
    return false;
  }

 private:
  void remember() {
    m_names.clear();
    for (const AccessibleCaptionButton& button : ButtonsOf(m_host)) {
      m_names[button.id] = Translated(button.name);
    }
  }

  void announceChanges() {
    const std::map<UINT, QString> before = m_names;
    remember();
    auto* frame = dynamic_cast<FrameAccessible*>(QAccessible::queryAccessibleInterface(m_host));
    for (const auto& [id, name] : m_names) {
      const auto old = before.find(id);
      if (old == before.end() || old->second == name) continue;
      QAccessibleInterface* button = frame ? frame->button(id) : nullptr;
      if (!button) continue;
      QAccessibleEvent changed(button, QAccessible::NameChanged);
      QAccessible::updateAccessibility(&changed);
    }
  }

  WindowHost* const m_host;
  std::map<UINT, QString> m_names;
};

// The application: its visible windows only. The engine's off-screen render
// windows are no window of the user's.
class ApplicationAccessible : public QAccessibleObject {
 public:
  ApplicationAccessible() : QAccessibleObject(qApp) {}

  QAccessibleInterface* parent() const override { return nullptr; }
  int childCount() const override { return int(windows().size()); }
  QAccessibleInterface* child(int index) const override {
    const QWidgetList list = windows();
    return index >= 0 && index < list.size() ? QAccessible::queryAccessibleInterface(list[index])
                                             : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    return child ? int(windows().indexOf(qobject_cast<QWidget*>(child->object()))) : -1;
  }
  QAccessibleInterface* focusChild() const override {
    QWidget* active = QApplication::activeWindow();
    return active ? QAccessible::queryAccessibleInterface(active) : nullptr;
  }
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name ? QCoreApplication::applicationName() : QString();
  }
  QAccessible::Role role() const override { return QAccessible::Application; }
  QAccessible::State state() const override { return {}; }

 private:
  static QWidgetList windows() {
    QWidgetList shown;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      const Qt::WindowType type = widget->windowType();
      if (widget->isVisible() && type != Qt::Popup && type != Qt::ToolTip && type != Qt::Desktop)
        shown.append(widget);
    }
    return shown;
  }
};

QAccessibleInterface* ShellAccessibleFactory(const QString& className, QObject* object) {
  if (object && object == QCoreApplication::instance() &&
      className == QLatin1String(object->metaObject()->className()))
    return new ApplicationAccessible;
  auto* host = qobject_cast<WindowHost*>(object);
  if (host && host->isWindow() && className == QLatin1String(host->metaObject()->className())) {
    // Announcing costs nothing until an assistive technology asks for the window.
    new CaptionNameAnnouncer(host);
    return new FrameAccessible(host);
  }
  return nullptr;
}

}  // namespace

void InstallWindowAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(&ShellAccessibleFactory);
    return true;
  }();
  (void)installed;
}

}  // namespace platform
