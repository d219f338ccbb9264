#include "runtime/qt/browser_impl.h"

#include <QDir>
#include <QScreen>
#include <QWebEngineLoadingInfo>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>

#include "platform/qt/native_window.h"
#include "runtime/cef_task.h"
#include "runtime/qt/browser_view.h"
#include "runtime/qt/browser_window.h"
#include "runtime/qt/frames.h"
#include "runtime/qt/load_errors.h"
#include "runtime/qt/qt_strings.h"
#include "runtime/qt/runtime_state.h"

namespace runtime {

namespace {

bool IsDefault(int coordinate) { return coordinate == CW_USEDEFAULT; }

// A colour counts only with a non-zero alpha, and then only its RGB: the
// browser's own, else the runtime's, else the engine's default.
bool IsSet(cef_color_t color) { return color >> 24 != 0; }

void ApplyBackground(QWebEnginePage* page, const CefBrowserSettings& settings) {
  const cef_color_t color = IsSet(settings.background_color)
                                ? settings.background_color
                                : RuntimeState::get()->pageBackground();
  if (IsSet(color)) page->setBackgroundColor(QColor::fromRgb(color & 0xFFFFFF));
}

void ApplyState(QWebEngineSettings* target, QWebEngineSettings::WebAttribute attribute,
                cef_state_t state) {
  if (state != STATE_DEFAULT) target->setAttribute(attribute, state == STATE_ENABLED);
}

void ApplySettings(QWebEnginePage* page, const CefBrowserSettings& settings) {
  ApplyState(page->settings(), QWebEngineSettings::JavascriptEnabled, settings.javascript);
  ApplyState(page->settings(), QWebEngineSettings::LocalStorageEnabled, settings.local_storage);
  ApplyBackground(page, settings);
}

bool IsChildWindow(const CefWindowInfo& windowInfo) {
  return (windowInfo.style & CEF_WS_CHILD) && windowInfo.parent_window;
}

// The share of the screen that a top-level browser takes when the caller
// leaves its size to the system; the window manager picks the position.
constexpr int kDefaultSizeNumerator = 3;
constexpr int kDefaultSizeDenominator = 4;

QSize DefaultTopLevelSize(const QWidget* view) {
  const QScreen* screen = view->screen();
  if (!screen) return view->sizeHint();
  return screen->availableSize() * kDefaultSizeNumerator / kDefaultSizeDenominator;
}

void PlaceTopLevel(QWidget* view, const CefWindowInfo& windowInfo) {
  if (!IsDefault(windowInfo.x) && !IsDefault(windowInfo.y)) view->move(windowInfo.x, windowInfo.y);
  const bool sizeGiven = !IsDefault(windowInfo.width) && !IsDefault(windowInfo.height) &&
                         windowInfo.width > 0 && windowInfo.height > 0;
  // The window system would not map a window without a size.
  view->resize(sizeGiven ? QSize(windowInfo.width, windowInfo.height) : DefaultTopLevelSize(view));
}

}  // namespace

QUrl UrlFromUserText(const CefString& text) {
  return QUrl::fromUserInput(ToQString(text), QDir::currentPath(), QUrl::AssumeLocalFile);
}

CefRefPtr<BrowserImpl> BrowserImpl::Open(const CefWindowInfo& windowInfo,
                                         CefRefPtr<CefClient> client,
                                         const CefBrowserSettings& settings, bool popup) {
  RuntimeState* state = RuntimeState::get();
  if (!state || !state->acceptsBrowsers()) return nullptr;
  CefRefPtr<BrowserImpl> browser(new BrowserImpl(state->nextBrowserId(), client, popup));
  browser->createView(windowInfo, settings);
  state->add(browser);
  CefPostTask(TID_UI, [browser] { browser->announceCreated(); });
  return browser;
}

BrowserImpl::BrowserImpl(int id, CefRefPtr<CefClient> client, bool popup)
    : m_id(id), m_client(client), m_popup(popup) {}

void BrowserImpl::createView(const CefWindowInfo& windowInfo, const CefBrowserSettings& settings) {
  // A top-level browser belongs to no other window, as in any browser: it lives
  // until it closes or the runtime shuts down, whoever opened it.
  QWidget* parent =
      IsChildWindow(windowInfo) ? platform::ChildContainerOf(windowInfo.parent_window) : nullptr;
  m_view = new BrowserView(this, parent);
  if (IsChildWindow(windowInfo)) {
    m_view->setGeometry(windowInfo.x, windowInfo.y, windowInfo.width, windowInfo.height);
  } else {
    // The window goes first: moving the view into it after the page would
    // re-create the widget under the page.
    m_window = new BrowserWindow(m_view);
    PlaceTopLevel(m_window, windowInfo);
    m_followsPageTitle = windowInfo.window_name.empty();
    m_window->setWindowTitle(ToQString(windowInfo.window_name));
  }
  auto* page = new BrowserPage(this, RuntimeState::get()->profile(), m_view);
  ApplySettings(page, settings);
  m_view->setPage(page);
  connectPage();
  if (m_window) {
    // A top-level browser's parent is the window that opened it.
    platform::ShowOwnedWindow(m_window, windowInfo.parent_window);
  } else {
    m_view->show();
  }
}

QWidget* BrowserImpl::outermost() const {
  if (m_window) return m_window;
  return m_view;
}

void BrowserImpl::connectPage() {
  QWebEnginePage* page = m_view->page();
  // The connections hold the browser until the page goes.
  CefRefPtr<BrowserImpl> self(this);
  QObject::connect(page, &QWebEnginePage::loadingChanged, page,
                   [self](const QWebEngineLoadingInfo& info) { ReportLoadFailure(*self, info); });
  QObject::connect(page, &QWebEnginePage::windowCloseRequested, page,
                   [self] { self->CloseBrowser(false); });
  QObject::connect(page, &QWebEnginePage::titleChanged, page, [self](const QString& title) {
    if (self->m_followsPageTitle && self->m_window) self->m_window->setWindowTitle(title);
  });
  QObject::connect(page, &QWebEnginePage::renderProcessTerminated, page,
                   [self, page](QWebEnginePage::RenderProcessTerminationStatus status, int) {
                     self->m_recovery.onRendererGone(status, page->url());
                   });
  QObject::connect(page, &QWebEnginePage::geometryChangeRequested, page, [self](const QRect& rect) {
    if (self->m_window) self->m_window->setGeometry(rect);
  });
}

void BrowserImpl::announceCreated() {
  if (m_announced) return;
  m_announced = true;
  if (CefRefPtr<CefLifeSpanHandler> handler = m_client ? m_client->GetLifeSpanHandler() : nullptr)
    handler->OnAfterCreated(this);
}

bool BrowserImpl::IsSame(CefRefPtr<CefBrowser> that) {
  return that && that->GetIdentifier() == m_id;
}

CefRefPtr<CefFrame> BrowserImpl::GetMainFrame() { return new MainFrame(this); }

void BrowserImpl::Reload() {
  if (m_recovery.showsStoppedPage()) {
    m_recovery.reloadStoppedPage();
  } else if (m_view) {
    m_view->reload();
  }
}

cef_window_handle_t BrowserImpl::GetWindowHandle() {
  return m_view ? platform::HandleOf(m_view) : nullptr;
}

void BrowserImpl::SetFocus(bool focus) {
  if (!m_view) return;
  if (!focus) {
    m_view->clearFocus();
    return;
  }
  if (m_window) {
    m_window->raise();
    m_window->activateWindow();
  }
  m_view->setFocus(Qt::OtherFocusReason);
}

void BrowserImpl::Invalidate(PaintElementType /*type*/) {
  // A browser in a window of its own repaints its page by itself whenever it changes.
  // Marking the view dirty would only have its whole area painted again and, under a
  // GPU back end, uploaded whole into the window with the next composition.
}

void BrowserImpl::ShowDevTools(const CefWindowInfo& windowInfo, CefRefPtr<CefClient> client,
                               const CefBrowserSettings& settings,
                               const CefPoint& /*inspect_element_at*/) {
  if (!m_view) return;
  if (m_devTools && m_devTools->page()) {
    m_devTools->SetFocus(true);
    return;
  }
  m_devTools = Open(windowInfo, client, settings, true);
  if (m_devTools) m_view->page()->setDevToolsPage(m_devTools->page());
}

void BrowserImpl::CloseBrowser(bool /*force_close*/) {
  // Deleted on close, which tells the client.
  if (QWidget* closing = outermost()) closing->close();
}

QWebEnginePage* BrowserImpl::page() const { return m_view ? m_view->page() : nullptr; }

BrowserView* BrowserImpl::view() const { return m_view; }

void BrowserImpl::load(const QUrl& url) {
  if (m_view) m_view->load(url);
}

void BrowserImpl::loadHtml(const QString& html, const QUrl& url) {
  if (m_view) m_view->setHtml(html, url);
}

void BrowserImpl::runScript(const QString& script) {
  if (m_view) m_view->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld);
}

void BrowserImpl::destroyView() { delete outermost(); }

void BrowserImpl::viewDestroyed() {
  CefRefPtr<BrowserImpl> self(this);  // the registry may hold the last reference
  m_view = nullptr;
  // Developer tools have nothing left to inspect.
  if (m_devTools) m_devTools->CloseBrowser(true);
  announceCreated();
  if (CefRefPtr<CefLifeSpanHandler> handler = m_client ? m_client->GetLifeSpanHandler() : nullptr)
    handler->OnBeforeClose(this);
  if (RuntimeState* state = RuntimeState::get()) state->remove(this);
}

}  // namespace runtime
