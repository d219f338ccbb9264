#include "platform/unreached/visual_managers.h"

IMPLEMENT_DYNCREATE(CMFCVisualManagerOfficeXP, CMFCVisualManager)
IMPLEMENT_DYNCREATE(CMFCVisualManagerWindows, CMFCVisualManagerOfficeXP)
IMPLEMENT_DYNCREATE(CMFCVisualManagerOffice2003, CMFCVisualManagerOfficeXP)
IMPLEMENT_DYNCREATE(CMFCVisualManagerVS2005, CMFCVisualManagerOffice2003)
IMPLEMENT_DYNCREATE(CMFCVisualManagerOffice2007, CMFCVisualManagerOffice2003)

BOOL CMFCVisualManagerWindows::m_b3DTabsXPTheme = FALSE;

namespace {

// As the plain palette: menu back, text, highlight, highlight text, border; dialog
// back, text; button face, text; tooltip back, text.
constexpr LookColors kOfficeXP = {0xF9F8F7, 0x000000, 0xB6BDD2, 0x000000, 0x8A867A, 0xE2DED6,
                                  0x000000, 0xDBD8D1, 0x000000, 0xFFFFE1, 0x000000};
constexpr LookColors kWindowsXP = {0xFFFFFF, 0x000000, 0x316AC5, 0xFFFFFF, 0xACA899, 0xECE9D8,
                                   0x000000, 0xF4F3EE, 0x000000, 0xFFFFE1, 0x000000};
constexpr LookColors kOffice2003 = {0xF6F6F6, 0x000000, 0xFFEEC2, 0x000000, 0x002D96, 0xC3DAF9,
                                    0x000000, 0x9EBEF5, 0x000000, 0xE3EFFF, 0x000000};
constexpr LookColors kVS2005 = {0xFCFCF9, 0x000000, 0xC1D2EE, 0x000000, 0x316AC5, 0xEEEDE5,
                                0x000000, 0xE0DFD7, 0x000000, 0xFFFFE1, 0x000000};
// By Office 2007 style number: blue, black, aqua, silver.
constexpr LookColors kOffice2007[] = {
    {0xFAFAFA, 0x15428B, 0xFFE7A2, 0x15428B, 0x9ABBE3, 0xBFDBFF, 0x15428B, 0xD7E6F9, 0x15428B,
     0xEDF4FC, 0x15428B},
    {0x45474A, 0xF0F0F0, 0xFFBD69, 0x000000, 0x1E1E1E, 0x535353, 0xFFFFFF, 0x6B6D70, 0xFFFFFF,
     0x303030, 0xF0F0F0},
    {0xF0F6FA, 0x0B3A64, 0x9FD4F2, 0x0B3A64, 0x7DA2CE, 0xCFE0EE, 0x0B3A64, 0xB9D3E9, 0x0B3A64,
     0xE6F2FA, 0x0B3A64},
    {0xEFF1F3, 0x4C535C, 0xFFE38E, 0x4C535C, 0xA7ABB0, 0xD0D4DD, 0x4C535C, 0xDDE0E6, 0x4C535C,
     0xF2F3F5, 0x4C535C},
};

CMFCVisualManagerOffice2007::Style g_office2007Style =
    CMFCVisualManagerOffice2007::Office2007_LunaBlue;

}  // namespace

CMFCVisualManagerOfficeXP::CMFCVisualManagerOfficeXP() : CMFCVisualManager(kOfficeXP) {}

CMFCVisualManagerWindows::CMFCVisualManagerWindows()
    : CMFCVisualManagerOfficeXP(kWindowsXP), m_b3DTabs(m_b3DTabsXPTheme) {}

CMFCVisualManagerOffice2003::CMFCVisualManagerOffice2003()
    : CMFCVisualManagerOfficeXP(kOffice2003) {}

CMFCVisualManagerVS2005::CMFCVisualManagerVS2005() : CMFCVisualManagerOffice2003(kVS2005) {}

CMFCVisualManagerOffice2007::CMFCVisualManagerOffice2007()
    : CMFCVisualManagerOffice2003(kOffice2007[g_office2007Style]), m_style(g_office2007Style) {}

BOOL CMFCVisualManagerOffice2007::SetStyle(Style style) {
  if (style < Office2007_LunaBlue || style > Office2007_Silver) return FALSE;
  g_office2007Style = style;
  return TRUE;
}

CMFCVisualManagerOffice2007::Style CMFCVisualManagerOffice2007::GetStyle() {
  return g_office2007Style;
}
