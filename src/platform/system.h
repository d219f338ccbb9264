#pragma once

#include "platform/cstring.h"
#include "platform/win_messages.h"

// System services with their Win32 names.

// TRUE while some interface other than loopback is up, running and has an address.
BOOL IsNetworkAlive(DWORD* lpdwFlags);
// The Windows language id of the POSIX locale (LC_ALL, LC_MESSAGES, then LANG).
LANGID GetSystemDefaultLangID();
// The language id for one POSIX locale name such as "de_AT.UTF-8"; 1033 for
// C/POSIX, empty or unknown names.
LANGID LangIdFromLocaleName(const char* localeName);

// Win32 semantics: the length written, or the buffer size needed (terminator
// included) when nBufferLength is too small; 0 on failure.
DWORD GetCurrentDirectoryW(DWORD nBufferLength, LPWSTR lpBuffer);
// The whole current directory, of any length; empty on failure.
CString GetCurrentDirectoryString();
DWORD GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize);
HMODULE GetModuleHandleW(LPCWSTR lpModuleName);
BOOL PathFileExistsW(LPCWSTR pszPath);
LPWSTR lstrcatW(LPWSTR lpString1, LPCWSTR lpString2);
// A file: URL for a file-system path, with every character that needs it escaped.
CString UrlFromPath(LPCWSTR pszPath);

int GetSystemMetrics(int nIndex);

inline LPCWSTR MAKEINTRESOURCEW(UINT id) {
  return reinterpret_cast<LPCWSTR>(static_cast<uintptr_t>(id));
}
HICON LoadIconW(HINSTANCE hInstance, LPCWSTR lpIconName);

struct INITCOMMONCONTROLSEX {
  DWORD dwSize;
  DWORD dwICC;
};
constexpr DWORD ICC_WIN95_CLASSES = 0x000000FF;
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce);

struct TRACKMOUSEEVENT {
  DWORD cbSize;
  DWORD dwFlags;
  HWND hwndTrack;
  DWORD dwHoverTime;
};
// Arms a single WM_NCMOUSELEAVE (TME_LEAVE | TME_NONCLIENT) for the window.
BOOL _TrackMouseEvent(TRACKMOUSEEVENT* lpEventTrack);

HDWP BeginDeferWindowPos(int nNumWindows);
HDWP DeferWindowPos(HDWP hWinPosInfo, HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy,
                    UINT uFlags);
BOOL EndDeferWindowPos(HDWP hWinPosInfo);

BOOL AfxOleInit();
void AfxEnableControlContainer();
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = static_cast<UINT>(-1));
int AfxMessageBox(LPCWSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
