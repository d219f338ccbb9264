#include "platform/view.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "platform/command_ids.h"
#include "platform/document.h"
#include "platform/frame_wnd.h"
#include "platform/qt/modal_dialogs.h"

IMPLEMENT_DYNAMIC(CView, CWnd)

BOOL CView::PreCreateWindow(CREATESTRUCT& cs) {
  // The framework gives every view a sunken client edge in place of a border.
  if (cs.style & WS_BORDER) {
    cs.style &= ~static_cast<LONG>(WS_BORDER);
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
  }
  return TRUE;
}

int CView::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  auto* context = static_cast<CCreateContext*>(lpCreateStruct->lpCreateParams);
  if (context && context->m_pCurrentDoc) context->m_pCurrentDoc->AddView(this);
  return 0;
}

void CView::PostNcDestroy() {
  if (m_pDocument) m_pDocument->RemoveView(this);
  delete this;
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) {
  if (CWnd::OnCmdMsg(nID, nCode, pCmdUI)) return TRUE;
  return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pCmdUI);
}

namespace platform {

class PrintJob {
 public:
  QPrinter printer;
};

}  // namespace platform

CPrintInfo::CPrintInfo() = default;
CPrintInfo::~CPrintInfo() = default;

BOOL CView::DoPreparePrinting(CPrintInfo* pInfo) {
  pInfo->m_pJob = std::make_unique<platform::PrintJob>();
  if (pInfo->m_bDirect) return TRUE;
  QPrintDialog dialog(&pInfo->m_pJob->printer);
  return platform::RunModal(dialog) == QDialog::Accepted;
}

void CView::PrintPages(CPrintInfo& info) {
  OnBeginPrinting(nullptr, &info);
  QPainter painter(&info.m_pJob->printer);
  // A view prints what OnDraw draws, one page each.
  for (info.m_nCurPage = 1; info.m_nCurPage <= info.m_nNumPages; ++info.m_nCurPage) {
    if (info.m_nCurPage > 1) info.m_pJob->printer.newPage();
    OnDraw(nullptr);
  }
  painter.end();
  OnEndPrinting(nullptr, &info);
}

void CView::OnFilePrint() {
  CPrintInfo info;
  if (OnPreparePrinting(&info) && info.m_pJob) PrintPages(info);
}

void AFXPrintPreview(CView* pView) {
  CPrintInfo info;
  info.m_bPreview = TRUE;
  info.m_pJob = std::make_unique<platform::PrintJob>();
  QPrintPreviewDialog dialog(&info.m_pJob->printer);
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested,
                   [&](QPrinter*) { pView->PrintPages(info); });
  platform::RunModal(dialog);
}
