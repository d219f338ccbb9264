#pragma once

#include "platform/visual_manager.h"

// The named looks of the look commands, each with its own palette.
class CMFCVisualManagerOfficeXP : public CMFCVisualManager {
  DECLARE_DYNCREATE(CMFCVisualManagerOfficeXP)

 public:
  CMFCVisualManagerOfficeXP();

 protected:
  explicit CMFCVisualManagerOfficeXP(const LookColors& colors) : CMFCVisualManager(colors) {}
};

class CMFCVisualManagerWindows : public CMFCVisualManagerOfficeXP {
  DECLARE_DYNCREATE(CMFCVisualManagerWindows)

 public:
  CMFCVisualManagerWindows();

  // Whether managers made from now on draw tabs as the XP theme's 3D tabs.
  static BOOL m_b3DTabsXPTheme;
  // The setting this manager was made with.
  BOOL Is3DTabsXPTheme() const { return m_b3DTabs; }

 private:
  BOOL m_b3DTabs;
};

class CMFCVisualManagerOffice2003 : public CMFCVisualManagerOfficeXP {
  DECLARE_DYNCREATE(CMFCVisualManagerOffice2003)

 public:
  CMFCVisualManagerOffice2003();

 protected:
  explicit CMFCVisualManagerOffice2003(const LookColors& colors)
      : CMFCVisualManagerOfficeXP(colors) {}
};

class CMFCVisualManagerVS2005 : public CMFCVisualManagerOffice2003 {
  DECLARE_DYNCREATE(CMFCVisualManagerVS2005)

 public:
  CMFCVisualManagerVS2005();
};

class CMFCVisualManagerOffice2007 : public CMFCVisualManagerOffice2003 {
  DECLARE_DYNCREATE(CMFCVisualManagerOffice2007)

 public:
  enum Style {
    Office2007_LunaBlue = 0,
    Office2007_ObsidianBlack = 1,
    Office2007_Aqua = 2,
    Office2007_Silver = 3,
  };

  CMFCVisualManagerOffice2007();

  // The style of Office 2007 managers made from now on; FALSE for an unknown one.
  static BOOL SetStyle(Style style);
  static Style GetStyle();
  // The style this manager was made with.
  Style GetManagerStyle() const { return m_style; }

 private:
  Style m_style;
};
