#pragma once

#include "platform/wnd.h"

#include <memory>

class CDC;
class CDocument;

namespace platform {
class PrintJob;
}

class CPrintInfo {
 public:
  CPrintInfo();
  ~CPrintInfo();

  BOOL m_bDirect = FALSE;
  BOOL m_bPreview = FALSE;
  UINT m_nCurPage = 1;
  UINT m_nNumPages = 1;
  // The printer the user chose; set by DoPreparePrinting.
  std::unique_ptr<platform::PrintJob> m_pJob;
};

// A pane over the frame's client area, with the framework's sunken 2-pixel edge.
class CView : public CWnd {
  DECLARE_DYNAMIC(CView)

 public:
  CDocument* GetDocument() const { return m_pDocument; }
  virtual void OnInitialUpdate() {}
  BOOL OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) override;

 protected:
  virtual void OnDraw(CDC* pDC) = 0;
  virtual BOOL OnPreparePrinting(CPrintInfo* pInfo) { return DoPreparePrinting(pInfo); }
  virtual void OnBeginPrinting(CDC* /*pDC*/, CPrintInfo* /*pInfo*/) {}
  virtual void OnEndPrinting(CDC* /*pDC*/, CPrintInfo* /*pInfo*/) {}
  // Asks the user for a printer (the print dialog); FALSE when cancelled.
  BOOL DoPreparePrinting(CPrintInfo* pInfo);
  void OnFilePrint();
  // Prints the pages of info to the printer it holds.
  void PrintPages(CPrintInfo& info);
  friend void AFXPrintPreview(CView* pView);

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
  void PostNcDestroy() override;

 private:
  CDocument* m_pDocument = nullptr;
  friend class CDocument;
};

// Shows the print preview of the view's pages.
void AFXPrintPreview(CView* pView);
