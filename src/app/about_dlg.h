#pragma once

#include "platform/unreached/dialog.h"

// The About box: dialog template 100 and nothing of its own.
class CAboutDlg : public CDialog {
 public:
  CAboutDlg();
};
