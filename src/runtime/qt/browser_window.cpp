#include "runtime/qt/browser_window.h"

#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QWindow>

#include "runtime/qt/browser_view.h"

namespace runtime {

namespace {

// A window for a reader: a frame, named by the window's title as it changes,
// with the view and its page inside.
class BrowserWindowAccessible : public QAccessibleWidget {
 public:
  explicit BrowserWindowAccessible(BrowserWindow* window)
      : QAccessibleWidget(window, QAccessible::Window) {}

  QString text(QAccessible::Text t) const override {
    // The title the window system shows, minimised too: the toolkit would name
    // a minimised window by its icon text, which nothing sets.
    const QWindow* shown = widget()->windowHandle();
    if (t == QAccessible::Name && shown) return shown->title();
    return QAccessibleWidget::text(t);
  }
};

QAccessibleInterface* BrowserWindowAccessibleFactory(const QString& className, QObject* object) {
  auto* window = qobject_cast<BrowserWindow*>(object);
  if (!window || className != QLatin1String(window->metaObject()->className())) return nullptr;
  return new BrowserWindowAccessible(window);
}

}  // namespace

BrowserWindow::BrowserWindow(BrowserView* view) : QWidget(nullptr, Qt::Window), m_view(view) {
  setAttribute(Qt::WA_DeleteOnClose);
  // No layout: it would hold the window to the view's minimum size, and a page
  // may ask for a smaller window.
  view->setParent(this);
  // Activating the window puts the keyboard focus in the page.
  setFocusProxy(view);
}

void BrowserWindow::closeEvent(QCloseEvent* event) {
  if (m_view && !m_view->close()) event->ignore();
}

void BrowserWindow::resizeEvent(QResizeEvent* event) {
  if (m_view) m_view->setGeometry(rect());
  QWidget::resizeEvent(event);
}

void InstallBrowserWindowAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(&BrowserWindowAccessibleFactory);
    return true;
  }();
  (void)installed;
}

}  // namespace runtime
