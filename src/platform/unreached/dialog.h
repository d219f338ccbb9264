#pragma once

#include "platform/wnd.h"

// A modal dialog built from a dialog template of the resources.
class CDialog : public CWnd {
  DECLARE_DYNAMIC(CDialog)

 public:
  explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  // Shows the dialog and returns when it closes: IDOK, or IDCANCEL (2).
  virtual INT_PTR DoModal();

 protected:
  UINT m_nIDTemplate;
  CWnd* m_pParentWnd;
};
