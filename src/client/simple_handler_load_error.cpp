#include "client/load_error_page.h"
#include "client/simple_handler.h"

void SimpleHandler::OnLoadError(CefRefPtr<CefBrowser>, CefRefPtr<CefFrame> frame,
                                ErrorCode errorCode, const CefString& errorText,
                                const CefString& failedUrl) {
  // A cancelled navigation has not failed.
  if (errorCode == ERR_ABORTED) return;
  const std::string page =
      BuildLoadErrorPage(errorCode, errorText.ToString(), failedUrl.ToString());
  frame->LoadString(page, failedUrl);
}
