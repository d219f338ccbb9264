#include "runtime/qt/runtime_state.h"

#include <QCoreApplication>
#include <QLocale>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>

#include <algorithm>

#include "runtime/cef_task.h"
#include "runtime/qt/browser_window.h"
#include "runtime/qt/downloads.h"
#include "runtime/qt/engine_environment.h"
#include "runtime/qt/engine_sandbox.h"
#include "runtime/qt/profile.h"
#include "runtime/qt/qt_strings.h"
#include "runtime/qt/script_binding.h"

namespace runtime {

namespace {

RuntimeState* g_state = nullptr;

void NotifyContextInitialized(CefRefPtr<CefApp> application) {
  CefRefPtr<CefBrowserProcessHandler> handler =
      application ? application->GetBrowserProcessHandler() : nullptr;
  if (handler) CefPostTask(TID_UI, [handler] { handler->OnContextInitialized(); });
}

}  // namespace

RuntimeState* RuntimeState::get() { return g_state; }

RuntimeState::RuntimeState(QWebEngineProfile* profile, cef_color_t pageBackground)
    : m_profile(profile), m_pageBackground(pageBackground) {}

RuntimeState::~RuntimeState() { delete m_profile; }

void RuntimeState::remove(BrowserImpl* browser) {
  m_browsers.erase(std::remove_if(m_browsers.begin(), m_browsers.end(),
                                  [browser](const CefRefPtr<BrowserImpl>& open) {
                                    return open.get() == browser;
                                  }),
                   m_browsers.end());
}

bool RuntimeState::initialize(const CefMainArgs& args, const CefSettings& settings,
                              CefRefPtr<CefApp> application) {
  if (g_state) return false;
  UseExecutableForEngineProcesses(settings.browser_subprocess_path);
  ChooseEngineSandbox(settings.no_sandbox != 0);
  LetPagesReachAssistiveTechnologies();
  InstallBrowserWindowAccessibility();
  if (!settings.command_line_args_disabled) ForwardEngineSwitches(args);
  const QString locale = ToQString(settings.locale);
  if (!locale.isEmpty()) QLocale::setDefault(QLocale(locale));
  EnsureGuiApplication(args);
  QWebEngineProfile* profile = MakeProfile(settings.cache_path);
  // Pages read the locale as given: the engine's own name for it drops a
  // default region ("en-US" would read "en").
  if (!locale.isEmpty()) profile->setHttpAcceptLanguage(locale);
  InstallDocumentScripts(*profile, RecordScriptBinding(application));
  QObject::connect(profile, &QWebEngineProfile::downloadRequested, profile, &HandleDownloadRequest);
  g_state = new RuntimeState(profile, settings.background_color);
  // Post routines run last-in first-out: an application that ends with the
  // runtime still up closes its pages and profile before the engine stops.
  qAddPostRoutine(&RuntimeState::shutdown);
  NotifyContextInitialized(application);
  return true;
}

void RuntimeState::shutdown() {
  if (!g_state || g_state->m_closing) return;
  g_state->m_closing = true;
  qRemovePostRoutine(&RuntimeState::shutdown);
  g_state->m_downloads.cancelAll();
  // Pages go before the profile they live in.
  while (!g_state->m_browsers.empty()) {
    const CefRefPtr<BrowserImpl> browser = g_state->m_browsers.back();
    browser->destroyView();
    g_state->remove(browser.get());
  }
  delete g_state;
  g_state = nullptr;
}

}  // namespace runtime

bool CefInitialize(const CefMainArgs& args, const CefSettings& settings,
                   CefRefPtr<CefApp> application, void* /*windows_sandbox_info*/) {
  return runtime::RuntimeState::initialize(args, settings, application);
}

void CefShutdown() { runtime::RuntimeState::shutdown(); }

// The runtime runs no message loop of its own: the main window's end ends the application.
void CefQuitMessageLoop() {}

bool CefPostTask(CefThreadId threadId, const base::Closure& closure) {
  QCoreApplication* application = QCoreApplication::instance();
  if (threadId != TID_UI || !application || !closure) return false;
  return QMetaObject::invokeMethod(application, closure, Qt::QueuedConnection);
}

bool CefBrowserHost::CreateBrowser(const CefWindowInfo& windowInfo, CefRefPtr<CefClient> client,
                                   const CefString& url, const CefBrowserSettings& settings,
                                   CefRefPtr<CefRequestContext> /*request_context*/) {
  CefRefPtr<runtime::BrowserImpl> browser =
      runtime::BrowserImpl::Open(windowInfo, client, settings, false);
  if (!browser) return false;
  if (!url.empty()) browser->load(runtime::UrlFromUserText(url));
  return true;
}
