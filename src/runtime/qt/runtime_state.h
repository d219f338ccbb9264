#pragma once

#include <QString>

#include <vector>

#include "runtime/cef_app.h"
#include "runtime/qt/browser_impl.h"
#include "runtime/qt/downloads.h"

class QWebEngineProfile;

namespace runtime {

// What lives between CefInitialize and CefShutdown: the profile every browser
// shares and the browsers still open.
class RuntimeState {
 public:
  // Null before CefInitialize and after CefShutdown.
  static RuntimeState* get();
  // False while shutting down: no new browsers then.
  bool acceptsBrowsers() const { return !m_closing; }

  QWebEngineProfile* profile() const { return m_profile; }
  // The page background that browsers without one of their own get.
  cef_color_t pageBackground() const { return m_pageBackground; }
  int nextBrowserId() { return ++m_lastBrowserId; }
  DownloadCenter& downloads() { return m_downloads; }

  void add(CefRefPtr<BrowserImpl> browser) { m_browsers.push_back(browser); }
  void remove(BrowserImpl* browser);

  static bool initialize(const CefMainArgs& args, const CefSettings& settings,
                         CefRefPtr<CefApp> application);
  static void shutdown();

 private:
  RuntimeState(QWebEngineProfile* profile, cef_color_t pageBackground);
  ~RuntimeState();

  QWebEngineProfile* const m_profile;
  const cef_color_t m_pageBackground;
  int m_lastBrowserId = 0;
  bool m_closing = false;
  std::vector<CefRefPtr<BrowserImpl>> m_browsers;
  DownloadCenter m_downloads;
};

}  // namespace runtime
