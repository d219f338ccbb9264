#pragma once

#include <QPointer>
#include <QWidget>

namespace runtime {

class BrowserView;

// The top-level window of a browser that has one of its own (a popup, the
// developer tools): a plain window whose only child is the view, filling it.
// The window manager, the user and assistive technologies deal with this
// window; the view inside keeps the engine's own accessibility, which the
// engine relies on. Closing the window closes the view first, so a view that
// refuses to close keeps its window; the view goes with its window.
class BrowserWindow : public QWidget {
  Q_OBJECT

 public:
  explicit BrowserWindow(BrowserView* view);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QPointer<BrowserView> m_view;
};

// Makes every BrowserWindow a frame named by its title for assistive
// technologies. Installing it twice installs it once.
void InstallBrowserWindowAccessibility();

}  // namespace runtime
