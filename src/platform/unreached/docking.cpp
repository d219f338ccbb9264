#include "platform/unreached/docking.h"

namespace {

AFX_DOCK_TYPE g_dockMode = DT_STANDARD;
AFX_SMARTDOCK_THEME g_smartDockTheme = AFX_SDT_DEFAULT;

bool IsKnownMode(AFX_DOCK_TYPE mode) {
  return mode == DT_IMMEDIATE || mode == DT_STANDARD || mode == DT_SMART;
}

bool IsKnownTheme(AFX_SMARTDOCK_THEME theme) {
  return theme >= AFX_SDT_DEFAULT && theme <= AFX_SDT_VS2008;
}

}  // namespace

void CDockingManager::SetDockingMode(AFX_DOCK_TYPE dockMode, AFX_SMARTDOCK_THEME theme) {
  if (!IsKnownMode(dockMode) || !IsKnownTheme(theme)) return;
  g_dockMode = dockMode;
  g_smartDockTheme = theme;
}

AFX_DOCK_TYPE CDockingManager::GetDockingMode() { return g_dockMode; }

AFX_SMARTDOCK_THEME CDockingManager::GetSmartDockingTheme() { return g_smartDockTheme; }
