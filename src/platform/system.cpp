#include "platform/system.h"

#include <ifaddrs.h>
#include <limits.h>
#include <net/if.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "platform/qt/application.h"
#include "platform/qt/modal_dialogs.h"
#include "platform/qt/window_host.h"

namespace {

std::wstring FromLocal8Bit(const std::string& bytes) {
  return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size())).toStdWString();
}

std::string ToLocal8Bit(LPCWSTR text) {
  return QString::fromWCharArray(text).toLocal8Bit().toStdString();
}

// Copies text into a Win32-style buffer: the length written, or the size needed.
DWORD CopyOut(const std::wstring& text, LPWSTR buffer, DWORD size) {
  if (!buffer || size <= text.size()) return static_cast<DWORD>(text.size() + 1);
  std::wmemcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<DWORD>(text.size());
}

}  // namespace

BOOL IsNetworkAlive(DWORD* lpdwFlags) {
  if (lpdwFlags) *lpdwFlags = 0;
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return FALSE;
  BOOL alive = FALSE;
  for (const ifaddrs* i = list; i && !alive; i = i->ifa_next) {
    const unsigned flags = i->ifa_flags;
    alive = i->ifa_addr && (flags & IFF_UP) && (flags & IFF_RUNNING) && !(flags & IFF_LOOPBACK) &&
            (i->ifa_addr->sa_family == AF_INET || i->ifa_addr->sa_family == AF_INET6);
  }
  freeifaddrs(list);
  return alive;
}

CString GetCurrentDirectoryString() {
  std::vector<char> buffer(PATH_MAX);
  while (!getcwd(buffer.data(), buffer.size())) {
    if (errno != ERANGE) return CString();
    buffer.resize(buffer.size() * 2);
  }
  return CString(FromLocal8Bit(buffer.data()));
}

DWORD GetCurrentDirectoryW(DWORD nBufferLength, LPWSTR lpBuffer) {
  const CString dir = GetCurrentDirectoryString();
  if (dir.IsEmpty()) return 0;
  return CopyOut(dir.str(), lpBuffer, nBufferLength);
}

DWORD GetModuleFileNameW(HMODULE, LPWSTR lpFilename, DWORD nSize) {
  std::vector<char> buffer(PATH_MAX + 1);
  const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (length <= 0 || nSize == 0) return 0;
  const std::wstring path = FromLocal8Bit(std::string(buffer.data(), static_cast<size_t>(length)));
  // Win32 truncates to the buffer and still terminates it.
  const size_t copied = std::min<size_t>(path.size(), nSize - 1);
  std::wmemcpy(lpFilename, path.c_str(), copied);
  lpFilename[copied] = L'\0';
  return static_cast<DWORD>(copied);
}

HMODULE GetModuleHandleW(LPCWSTR) {
  // The process's own module; only its identity matters to callers.
  static char module;
  return reinterpret_cast<HMODULE>(&module);
}

BOOL PathFileExistsW(LPCWSTR pszPath) {
  struct stat info;
  return pszPath && stat(ToLocal8Bit(pszPath).c_str(), &info) == 0;
}

LPWSTR lstrcatW(LPWSTR lpString1, LPCWSTR lpString2) { return std::wcscat(lpString1, lpString2); }

CString UrlFromPath(LPCWSTR pszPath) {
  return CString(QUrl::fromLocalFile(QString::fromWCharArray(pszPath))
                     .toString(QUrl::FullyEncoded)
                     .toStdWString());
}

int GetSystemMetrics(int nIndex) {
  switch (nIndex) {
    case SM_CXSMICON:
    case SM_CYSMICON:
      return 16;
    default:
      return 0;
  }
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce) {
  return picce && picce->dwSize == sizeof(INITCOMMONCONTROLSEX);
}

BOOL _TrackMouseEvent(TRACKMOUSEEVENT* lpEventTrack) {
  if (!lpEventTrack || lpEventTrack->dwFlags != (TME_LEAVE | TME_NONCLIENT)) return FALSE;
  platform::WindowHost* host = platform::WindowHost::fromHandle(lpEventTrack->hwndTrack);
  if (!host) return FALSE;
  host->input().trackNonClientLeave();
  return TRUE;
}

namespace {

struct DeferredMove {
  HWND hWnd;
  QRect geometry;
};

struct DeferredBatch {
  std::vector<DeferredMove> moves;
};

}  // namespace

HDWP BeginDeferWindowPos(int nNumWindows) {
  auto* batch = new DeferredBatch;
  batch->moves.reserve(static_cast<size_t>(std::max(nNumWindows, 0)));
  return reinterpret_cast<HDWP>(batch);
}

HDWP DeferWindowPos(HDWP hWinPosInfo, HWND hWnd, HWND, int x, int y, int cx, int cy, UINT) {
  auto* batch = reinterpret_cast<DeferredBatch*>(hWinPosInfo);
  if (!batch) return nullptr;
  if (!hWnd) {
    // A failed step ends the batch, as the window system does.
    delete batch;
    return nullptr;
  }
  batch->moves.push_back({hWnd, QRect(x, y, cx, cy)});
  return hWinPosInfo;
}

BOOL EndDeferWindowPos(HDWP hWinPosInfo) {
  std::unique_ptr<DeferredBatch> batch(reinterpret_cast<DeferredBatch*>(hWinPosInfo));
  if (!batch) return FALSE;
  for (const DeferredMove& move : batch->moves) {
    reinterpret_cast<QWidget*>(move.hWnd)->setGeometry(move.geometry);
  }
  return TRUE;
}

BOOL AfxOleInit() { return TRUE; }

void AfxEnableControlContainer() {}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
  CString text;
  text.LoadString(nIDPrompt);
  return AfxMessageBox(text, nType, nIDHelp);
}

int AfxMessageBox(LPCWSTR lpszText, UINT, UINT) {
  platform::EnsureApplication();
  QMessageBox box(QMessageBox::Warning, QApplication::applicationName(),
                  QString::fromWCharArray(lpszText));
  platform::RunModal(box);
  return IDOK;
}
