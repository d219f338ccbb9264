#pragma once

#include <QString>

#include "runtime/cef_browser.h"
#include "runtime/qt/browser_impl.h"
#include "runtime/qt/frame_errors.h"

namespace runtime {

// A browser's top frame.
class MainFrame : public CefFrame {
 public:
  explicit MainFrame(CefRefPtr<BrowserImpl> browser) : m_browser(browser) {}

  void LoadURL(const CefString& url) override;
  void LoadString(const CefString& string_val, const CefString& url) override;
  bool IsMain() override { return true; }
  CefString GetURL() override;
  CefRefPtr<CefBrowser> GetBrowser() override { return m_browser.get(); }

 protected:
  const CefRefPtr<BrowserImpl> m_browser;

 private:
  IMPLEMENT_REFCOUNTING(MainFrame);
};

// A browser's top frame whose load failed: it shows the engine's error
// document under the failed address, and a page given to it replaces that
// document's content, which belongs to no origin a page could share.
class FailedMainFrame : public MainFrame {
 public:
  using MainFrame::MainFrame;

  void LoadString(const CefString& string_val, const CefString& url) override;
};

// A sub-frame whose load failed, reached through its error document.
class FailedSubFrame : public CefFrame {
 public:
  FailedSubFrame(CefRefPtr<BrowserImpl> browser, FrameAddress frame, QString url)
      : m_browser(browser), m_frame(std::move(frame)), m_url(std::move(url)) {}

  void LoadURL(const CefString& url) override;
  // Shows the page inside the sub-frame; its address stays the engine's error
  // address, as a frame cannot take on another origin's address.
  void LoadString(const CefString& string_val, const CefString& url) override;
  bool IsMain() override { return false; }
  CefString GetURL() override;
  CefRefPtr<CefBrowser> GetBrowser() override { return m_browser.get(); }

 private:
  const CefRefPtr<BrowserImpl> m_browser;
  const FrameAddress m_frame;
  const QString m_url;
  IMPLEMENT_REFCOUNTING(FailedSubFrame);
};

}  // namespace runtime
