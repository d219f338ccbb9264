#pragma once

#include "platform/view.h"

// The pane over the frame's client area. It draws nothing itself and keeps the
// browser window, a sibling in the frame, over its area.
class CVintrelView : public CView {
  DECLARE_DYNCREATE(CVintrelView)

 protected:
  void OnDraw(CDC* pDC) override;
  BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
  BOOL OnOwnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) override;
  void OnNcPaint() override;
  void OnSize(UINT nType, int cx, int cy) override;

 private:
  void OnFilePrintPreview();
};
