#include "platform/resources.h"
#include "platform/command_ids.h"
#include "platform/win_messages.h"
#include "res/resource.h"

#include <iterator>

namespace platform {
namespace {

constexpr StringResource kStrings[] = {
    {IDP_OLE_INIT_FAILED,
     L"OLE initialization failed.  Make sure that the OLE libraries are the correct version."},
    {IDS_TOOLBAR_CUSTOMIZE, L"Customize..."},
    {IDR_MAINFRAME, L"lumerock"},
    {IDS_EDIT_MENU, L"Edit"},
    {AFX_IDS_APP_TITLE, L"lumerock"},
};

constexpr MenuItemResource kMainMenu[] = {
    {0, 0, L"&File"},
    {1, ID_FILE_NEW, L"&New\tCtrl+N"},
    {1, ID_FILE_OPEN, L"&Open...\tCtrl+O"},
    {1, ID_FILE_SAVE, L"&Save\tCtrl+S"},
    {1, ID_FILE_SAVE_AS, L"Save &As..."},
    {1, 0, nullptr},
    {1, ID_FILE_PRINT, L"&Print...\tCtrl+P"},
    {1, ID_FILE_PRINT_PREVIEW, L"Print Pre&view"},
    {1, ID_FILE_PRINT_SETUP, L"P&rint Setup..."},
    {0, 0, L"&Edit"},
    {1, ID_EDIT_UNDO, L"&Undo\tCtrl+Z"},
    {1, 0, nullptr},
    {1, ID_EDIT_CUT, L"Cu&t\tCtrl+X"},
    {1, ID_EDIT_COPY, L"&Copy\tCtrl+C"},
    {1, ID_EDIT_PASTE, L"&Paste\tCtrl+V"},
    {0, 0, L"&View"},
    {1, 0, L"&Application Look"},
    {2, ID_VIEW_APPLOOK_WIN_2000, L"Windows &2000"},
    {2, ID_VIEW_APPLOOK_OFF_XP, L"Office &XP"},
    {2, ID_VIEW_APPLOOK_WIN_XP, L"&Windows XP"},
    {2, ID_VIEW_APPLOOK_OFF_2003, L"Office 200&3"},
    {2, ID_VIEW_APPLOOK_VS_2005, L"Visual Studio.NET 200&5"},
    {2, 0, L"&Office 2007"},
    {3, ID_VIEW_APPLOOK_OFF_2007_BLUE, L"&Blue Style"},
    {3, ID_VIEW_APPLOOK_OFF_2007_BLACK, L"B&lack Style"},
    {3, ID_VIEW_APPLOOK_OFF_2007_SILVER, L"&Silver Style"},
    {3, ID_VIEW_APPLOOK_OFF_2007_AQUA, L"&Aqua Style"},
    {0, 0, L"&Help"},
    {1, ID_APP_ABOUT, L"&About lumerock..."},
};

constexpr MenuItemResource kEditPopup[] = {
    {0, 0, L"Edit"},
    {1, ID_EDIT_CUT, L"Cu&t\tCtrl+X"},
    {1, ID_EDIT_COPY, L"&Copy\tCtrl+C"},
    {1, ID_EDIT_PASTE, L"&Paste\tCtrl+V"},
};

constexpr MenuResource kMenus[] = {
    {IDR_MAINFRAME, kMainMenu, std::size(kMainMenu)},
    {IDR_POPUP_EDIT, kEditPopup, std::size(kEditPopup)},
};

constexpr AcceleratorResource kMainAccelerators[] = {
    {FVIRTKEY | FCONTROL, 'N', ID_FILE_NEW},   {FVIRTKEY | FCONTROL, 'O', ID_FILE_OPEN},
    {FVIRTKEY | FCONTROL, 'S', ID_FILE_SAVE},  {FVIRTKEY | FCONTROL, 'P', ID_FILE_PRINT},
    {FVIRTKEY | FCONTROL, 'Z', ID_EDIT_UNDO},  {FVIRTKEY | FALT, VK_BACK, ID_EDIT_UNDO},
    {FVIRTKEY | FCONTROL, 'X', ID_EDIT_CUT},   {FVIRTKEY | FSHIFT, VK_DELETE, ID_EDIT_CUT},
    {FVIRTKEY | FCONTROL, 'C', ID_EDIT_COPY},  {FVIRTKEY | FCONTROL, VK_INSERT, ID_EDIT_COPY},
    {FVIRTKEY | FCONTROL, 'V', ID_EDIT_PASTE}, {FVIRTKEY | FSHIFT, VK_INSERT, ID_EDIT_PASTE},
    {FVIRTKEY, VK_F6, ID_NEXT_PANE},           {FVIRTKEY | FSHIFT, VK_F6, ID_PREV_PANE},
};

constexpr AcceleratorTableResource kAccelerators[] = {
    {IDR_MAINFRAME, kMainAccelerators, std::size(kMainAccelerators)},
};

constexpr DialogItemResource kAboutItems[] = {
    {DialogItemKind::Icon, 0xFFFF, L"128", 14, 14, 21, 20},
    {DialogItemKind::Text, 0xFFFF, L"Vintrel, Version 1.0", 42, 14, 114, 8},
    {DialogItemKind::Text, 0xFFFF, L"A desktop shell for web applications.", 42, 26, 200, 8},
    {DialogItemKind::Text, 0xFFFF, L"Copyright (C) 2026 The Vintrel developers", 42, 38, 200, 8},
    {DialogItemKind::DefPushButton, IDOK, L"OK", 194, 108, 50, 14},
};

constexpr DialogResource kDialogs[] = {
    {IDD_ABOUTBOX, L"关于  非客户区标题栏自绘", L"MS Shell Dlg", 8, 251, 129, kAboutItems,
     std::size(kAboutItems)},
};

constexpr IconResource kIcons[] = {
    {IDR_MAINFRAME, ":/res/icon"},
};

constexpr ResourceTable kResources = {
    kStrings,      std::size(kStrings),      kMenus,   std::size(kMenus),
    kAccelerators, std::size(kAccelerators), kDialogs, std::size(kDialogs),
    kIcons,        std::size(kIcons),
};

}  // namespace

const ResourceTable& ApplicationResources() { return kResources; }

}  // namespace platform
