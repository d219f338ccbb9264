#pragma once

#include "platform/object.h"

enum AFX_DOCK_TYPE { DT_UNDEFINED = 0, DT_IMMEDIATE = 1, DT_STANDARD = 2, DT_SMART = 0x80 };
enum AFX_SMARTDOCK_THEME { AFX_SDT_DEFAULT = 0, AFX_SDT_VS2005 = 1, AFX_SDT_VS2008 = 2 };

// The framework's docking manager: how panes dock, process-wide.
class CDockingManager : public CObject {
 public:
  // DT_STANDARD until changed. An unknown mode or theme changes nothing.
  static void SetDockingMode(AFX_DOCK_TYPE dockMode, AFX_SMARTDOCK_THEME theme = AFX_SDT_DEFAULT);
  static AFX_DOCK_TYPE GetDockingMode();
  static AFX_SMARTDOCK_THEME GetSmartDockingTheme();
};
