#include "mainwnd/vintrel_view.h"

#include "mainwnd/main_frm.h"
#include "platform/command_ids.h"
#include "platform/system.h"

IMPLEMENT_DYNCREATE(CVintrelView, CView)

namespace {

// The browser reaches past the view's client area on every side and the view clips
// it, so the page shows without its outermost pixels: 9 at the top and left, 11 at
// the right and bottom. Pages made for the shell are laid out for this crop.
constexpr int kBrowserCropTopLeft = 9;
constexpr int kBrowserCropBottomRight = 11;
constexpr int kBrowserOrigin = -kBrowserCropTopLeft;
constexpr int kBrowserOverhang = kBrowserCropTopLeft + kBrowserCropBottomRight;

CefRefPtr<CefBrowser> MainBrowser() { return g_handler ? g_handler->GetBrowser() : nullptr; }

}  // namespace

void CVintrelView::OnDraw(CDC*) {}

BOOL CVintrelView::OnPreparePrinting(CPrintInfo* pInfo) { return DoPreparePrinting(pInfo); }

BOOL CVintrelView::OnOwnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) {
  if (nCode == CN_COMMAND) {
    switch (nID) {
      case ID_FILE_PRINT:
      case ID_FILE_PRINT_DIRECT:
        OnFilePrint();
        return TRUE;
      case ID_FILE_PRINT_PREVIEW:
        OnFilePrintPreview();
        return TRUE;
      default:
        break;
    }
  }
  return CView::OnOwnCmdMsg(nID, nCode, pCmdUI);
}

void CVintrelView::OnFilePrintPreview() { AFXPrintPreview(this); }

void CVintrelView::OnNcPaint() {
  // The view's edge is never drawn; the browser over it repaints instead.
  if (CefRefPtr<CefBrowser> browser = MainBrowser()) browser->GetHost()->Invalidate(PET_VIEW);
}

void CVintrelView::OnSize(UINT nType, int cx, int cy) {
  CView::OnSize(nType, cx, cy);
  CefRefPtr<CefBrowser> browser = MainBrowser();
  if (!browser) return;
  CRect client;
  GetClientRect(&client);
  HWND browserWindow = browser->GetHost()->GetWindowHandle();
  HDWP batch = BeginDeferWindowPos(1);
  batch = DeferWindowPos(batch, browserWindow, nullptr, kBrowserOrigin, kBrowserOrigin,
                         client.right - client.left + kBrowserOverhang,
                         client.bottom + kBrowserOverhang, SWP_NOZORDER);
  EndDeferWindowPos(batch);
}
