#include "platform/qt/icon.h"

#include <QPixmap>

#include <deque>
#include <map>

#include "platform/resources.h"
#include "platform/system.h"

namespace platform {
namespace {

std::deque<QIcon>& Icons() {
  static std::deque<QIcon> icons;  // a deque: handles stay valid as it grows
  return icons;
}

}  // namespace

HICON HandleFromIcon(const QIcon& icon) {
  Icons().push_back(icon);
  return reinterpret_cast<HICON>(&Icons().back());
}

QIcon IconFromHandle(HICON hIcon) {
  return hIcon ? *reinterpret_cast<const QIcon*>(hIcon) : QIcon();
}

}  // namespace platform

HICON LoadIconW(HINSTANCE, LPCWSTR lpIconName) {
  const UINT id = static_cast<UINT>(reinterpret_cast<uintptr_t>(lpIconName));
  static std::map<UINT, HICON> loaded;
  if (auto it = loaded.find(id); it != loaded.end()) return it->second;
  const platform::IconResource* resource = platform::FindIcon(id);
  if (!resource) return nullptr;
  const QPixmap pixmap(QString::fromUtf8(resource->path));
  if (pixmap.isNull()) return nullptr;
  return loaded[id] = platform::HandleFromIcon(QIcon(pixmap));
}
