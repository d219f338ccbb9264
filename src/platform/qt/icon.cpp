#include "platform/qt/icon.h"

#include <QDir>
#include <QPixmap>

#include <algorithm>
#include <deque>
#include <map>
#include <vector>

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

QIcon IconFromResourceFolder(const char* path) {
  const QDir folder(QString::fromUtf8(path));
  std::vector<QPixmap> sizes;
  for (const QString& name : folder.entryList(QDir::Files)) {
    const QPixmap pixmap(folder.filePath(name));
    if (!pixmap.isNull()) sizes.push_back(pixmap);
  }
  // Smallest first, as icon files list them; file names do not sort by size.
  std::sort(sizes.begin(), sizes.end(),
            [](const QPixmap& a, const QPixmap& b) { return a.width() < b.width(); });
  QIcon icon;
  for (const QPixmap& pixmap : sizes) icon.addPixmap(pixmap);
  return icon;
}

QIcon ExecutableIcon() {
  const ResourceTable& resources = ApplicationResources();
  if (resources.iconCount == 0) return QIcon();
  const IconResource* first =
      std::min_element(resources.icons, resources.icons + resources.iconCount,
                       [](const IconResource& a, const IconResource& b) { return a.id < b.id; });
  return IconFromHandle(LoadIconW(nullptr, MAKEINTRESOURCEW(first->id)));
}

}  // namespace platform

HICON LoadIconW(HINSTANCE, LPCWSTR lpIconName) {
  const UINT id = static_cast<UINT>(reinterpret_cast<uintptr_t>(lpIconName));
  static std::map<UINT, HICON> loaded;
  if (auto it = loaded.find(id); it != loaded.end()) return it->second;
  const platform::IconResource* resource = platform::FindIcon(id);
  if (!resource) return nullptr;
  const QIcon icon = platform::IconFromResourceFolder(resource->path);
  if (icon.isNull()) return nullptr;
  return loaded[id] = platform::HandleFromIcon(icon);
}
