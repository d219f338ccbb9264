#include "platform/qt/window_host.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/frame_wnd.h"
#include "platform/qt/device_pixels.h"
#include "platform/wnd.h"

namespace platform {
namespace {

Qt::WindowFlags FlagsFor(const CREATESTRUCT& cs) {
  if (cs.style & WS_CHILD) return Qt::Widget;
  return Qt::Window | Qt::FramelessWindowHint;
}

bool IsRestored(Qt::WindowStates states) {
  return !(states & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}

}  // namespace

bool OnWayland() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

WindowHost::WindowHost(CWnd* owner, const CREATESTRUCT& cs, QWidget* parent)
    : QWidget(parent, FlagsFor(cs)),
      m_owner(owner),
      m_clientArea(new QWidget(this)),
      m_surface(*this, *m_clientArea),
      m_input(*this),
      m_restoredPlace(/*followsPosition=*/!OnWayland()) {
  setMouseTracking(true);
  // The keyboard focus belongs to what a window holds, the page: a click on the
  // window's own frame, a move or a resize leaves it there, and Tab never stops
  // on a window, so at the page's end it comes round to the page's start.
  setFocusPolicy(Qt::NoFocus);
  m_clientArea->setMouseTracking(true);
  m_clientArea->installEventFilter(this);
  if (cs.lpszName) setWindowTitle(QString::fromWCharArray(cs.lpszName));

  if (isWindow()) {
    // Under Wayland a window's mask shapes where input goes, not what is shown: the
    // pixels outside it must be transparent for the shape to show.
    if (OnWayland()) setAttribute(Qt::WA_TranslucentBackground);
    m_input.addSystemMenuKey();
    // A window asked for larger than the screen gets the screen's size, and the
    // window system places it when no position is given.
    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    const int width = cs.cx == CW_USEDEFAULT ? screen.width() * 2 / 3 : cs.cx;
    const int height = cs.cy == CW_USEDEFAULT ? screen.height() * 2 / 3 : cs.cy;
    resize(std::min(width, screen.width()), std::min(height, screen.height()));
    if (cs.x != CW_USEDEFAULT && cs.y != CW_USEDEFAULT) move(cs.x, cs.y);
  } else {
    setGeometry(cs.x, cs.y, cs.cx, cs.cy);
  }
}

WindowHost::~WindowHost() = default;

WindowHost* WindowHost::fromHandle(HWND hWnd) {
  return dynamic_cast<WindowHost*>(reinterpret_cast<QWidget*>(hWnd));
}

QRect WindowHost::clientRect() const { return m_clientArea->geometry(); }

LRESULT WindowHost::send(UINT message, WPARAM wParam, LPARAM lParam) {
  return m_owner ? m_owner->SendMessage(message, wParam, lParam) : 0;
}

void WindowHost::recalcNonClient() {
  const QRect window = geometry();
  NCCALCSIZE_PARAMS params{};
  params.rgrc[0] = RECT{window.left(), window.top(), window.left() + window.width(),
                        window.top() + window.height()};
  send(WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
  const RECT& c = params.rgrc[0];
  m_clientArea->setGeometry(c.left - window.left(), c.top - window.top(),
                            std::max(0, int(c.right - c.left)), std::max(0, int(c.bottom - c.top)));
}

void WindowHost::applyMinMaxInfo() {
  if (!isWindow()) return;
  const QSize workArea = screen()->availableGeometry().size();
  MINMAXINFO info{};
  info.ptMaxSize = POINT{workArea.width(), workArea.height()};
  info.ptMaxTrackSize = info.ptMaxSize;
  send(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  // A minimum larger than the work area would keep a maximised window's edges,
  // caption buttons among them, off a small or dense screen.
  setMinimumSize(MinimumTrackSize(QSize(info.ptMinTrackSize.x, info.ptMinTrackSize.y), workArea));
}

UINT WindowHost::currentSizeType() const {
  if (isMinimized()) return SIZE_MINIMIZED;
  if (isMaximized()) return SIZE_MAXIMIZED;
  return SIZE_RESTORED;
}

void WindowHost::reportSize() {
  const UINT type = currentSizeType();
  const QSize client = m_clientArea->size();
  if (type == m_lastSizeType && client == m_lastClientSize) return;
  m_lastSizeType = type;
  m_lastClientSize = client;
  send(WM_SIZE, type, MAKELPARAM(client.width(), client.height()));
}

void WindowHost::paintEvent(QPaintEvent* event) {
  redrawStaleFrame();
  // The client area is its own widget's to paint.
  const QRegion frame = event->region() - m_clientArea->geometry();
  if (!m_surface.holds()) {
    fillUndrawnFrame(frame & (mask().isEmpty() ? QRegion(rect()) : mask()));
    return;
  }
  m_surface.paint(frame);
}

void WindowHost::redrawStaleFrame() {
  m_surface.redrawIfStale([this] { send(WM_NCPAINT, 1, 0); });
}

void WindowHost::paintNow() {
  const QWindow* window = windowHandle();
  if (isVisible() && window && !window->isExposed()) {
    redrawStaleFrame();
    return;
  }
  repaint();
}

void WindowHost::fillUndrawnFrame(const QRegion& region) {
  // What a fresh surface would show, without a window-sized buffer behind it.
  QPainter painter(this);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.setClipRegion(region);
  painter.fillRect(rect(), palette().window().color());
}

void WindowHost::resizeEvent(QResizeEvent*) {
  followRestoredPlace();
  applyGeometry();
}

void WindowHost::moveEvent(QMoveEvent*) { followRestoredPlace(); }

void WindowHost::placeRestored(const QRect& place) {
  setGeometry(place);
  // A window shown maximised reports no geometry of its own as a restored window.
  m_restoredPlace.Set(place);
}

void WindowHost::setShape(const QRegion& shape) {
  if (isWindow() && !m_exposed) {
    m_pendingShape = shape;
    return;
  }
  applyShape(shape);
}

void WindowHost::applyShape(const QRegion& shape) {
  if (shape.isEmpty())
    clearMask();
  else
    setMask(shape);
}

void WindowHost::showMaximizedAtOnce() {
  // Sized as the window manager will size it, the window and its page are laid out, and
  // the page's surfaces made, once: not at the restored size first and again when the
  // maximise arrives. The window manager then knows no restored place of its own, so a
  // restore puts the window at its place itself (changeEvent). A compositor sizes a
  // maximised window by itself and remembers its restored size.
  if (sizedAtOnceWhenMaximised() && !isVisible()) setGeometry(screen()->availableGeometry());
  showMaximized();
}

void WindowHost::followRestoredPlace() {
  const bool restored = IsRestored(windowState());
  // A frameless window maximised covers the work area of its screen.
  if (isWindow() && isVisible())
    m_restoredPlace.Moved(geometry(), restored, screen()->availableGeometry().size());
}

void WindowHost::applyGeometry() {
  m_surface.markStale();
  recalcNonClient();
  reportSize();
}

void WindowHost::changeEvent(QEvent* event) {
  if (event->type() == QEvent::WindowStateChange) {
    if (sizedAtOnceWhenMaximised() && leftMaximised(*static_cast<QWindowStateChangeEvent*>(event)))
      setGeometry(restoredGeometry());
    m_surface.markStale();
    reportSize();
  } else if (event->type() == QEvent::ActivationChange && isWindow()) {
    const bool active = isActiveWindow();
    send(WM_NCACTIVATE, active, 0);
    send(WM_ACTIVATE, MAKELPARAM(active ? WA_ACTIVE : WA_INACTIVE, isMinimized()), 0);
  }
  QWidget::changeEvent(event);
}

bool WindowHost::sizedAtOnceWhenMaximised() const { return isWindow() && !OnWayland(); }

bool WindowHost::leftMaximised(const QWindowStateChangeEvent& event) const {
  return (event.oldState() & Qt::WindowMaximized) && IsRestored(windowState());
}

void WindowHost::closeEvent(QCloseEvent* event) {
  // The window decides for itself whether and how it goes away.
  event->ignore();
  if (m_owner) m_owner->PostMessage(WM_CLOSE);
}

void WindowHost::showEvent(QShowEvent* event) {
  if (isWindow() && windowHandle() && !m_watchingWindow) {
    windowHandle()->installEventFilter(this);
    connect(windowHandle(), &QWindow::screenChanged, this, &WindowHost::watchWorkArea);
    watchWorkArea();
    m_watchingWindow = true;
  }
  QWidget::showEvent(event);
}

void WindowHost::watchWorkArea() {
  disconnect(m_workAreaWatch);
  m_workAreaWatch =
      connect(screen(), &QScreen::availableGeometryChanged, this, &WindowHost::applyMinMaxInfo);
  applyMinMaxInfo();
}

void WindowHost::mouseMoveEvent(QMouseEvent* event) { m_input.mouseMove(*event); }
void WindowHost::mousePressEvent(QMouseEvent* event) { m_input.mousePress(*event); }
void WindowHost::mouseReleaseEvent(QMouseEvent* event) { m_input.mouseRelease(*event); }
void WindowHost::mouseDoubleClickEvent(QMouseEvent* event) { m_input.mouseDoubleClick(*event); }

void WindowHost::leaveEvent(QEvent* event) {
  m_input.pointerLeftNonClient();
  QWidget::leaveEvent(event);
}

void WindowHost::keyPressEvent(QKeyEvent* event) {
  if (!m_input.keyPress(*event)) QWidget::keyPressEvent(event);
}

bool WindowHost::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_clientArea && event->type() == QEvent::Enter) m_input.pointerLeftNonClient();
  if (watched == windowHandle() && event->type() == QEvent::Expose && !m_exposed) {
    m_exposed = true;
    if (m_pendingShape) applyShape(*std::exchange(m_pendingShape, std::nullopt));
  }
  if (watched == windowHandle()) m_input.nativeWindowEvent(*event);
  return QWidget::eventFilter(watched, event);
}

QWidget* ChildContainerOf(HWND hWnd) {
  if (WindowHost* host = WindowHost::fromHandle(hWnd)) return host->clientArea();
  return reinterpret_cast<QWidget*>(hWnd);
}

}  // namespace platform
