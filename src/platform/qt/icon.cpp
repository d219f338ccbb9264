#include "platform/qt/icon.h"

#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QPixmap>

#include <algorithm>
#include <deque>
#include <map>
#include <vector>

#include "platform/resources.h"
#include "platform/system.h"

namespace platform {
namespace {

// The sizes an app's own icon is made at, those of the shell's icon.
constexpr int kApplicationIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

std::deque<QIcon>& Icons() {
  static std::deque<QIcon> icons;  // a deque: handles stay valid as it grows
  return icons;
}

std::map<UINT, HICON>& LoadedIcons() {
  static std::map<UINT, HICON> loaded;
  return loaded;
}

QString& ApplicationIconFile() {
  static QString file;
  return file;
}

const IconResource* ApplicationIconResource() {
  const ResourceTable& resources = ApplicationResources();
  if (resources.iconCount == 0) return nullptr;
  return std::min_element(resources.icons, resources.icons + resources.iconCount,
                          [](const IconResource& a, const IconResource& b) { return a.id < b.id; });
}

// Each size made from the whole image, never enlarged.
QIcon IconFromRaster(const QImage& image) {
  QIcon icon;
  for (const int size : kApplicationIconSizes) {
    if (size > std::max(image.width(), image.height())) break;
    icon.addPixmap(QPixmap::fromImage(
        image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
  }
  return icon;
}

// Each size drawn anew, so that small sizes stay sharp.
QIcon IconFromDrawing(const QString& file, const QSize& whole) {
  QIcon icon;
  for (const int size : kApplicationIconSizes) {
    QImageReader reader(file);
    reader.setDecideFormatFromContent(true);
    reader.setScaledSize(whole.scaled(size, size, Qt::KeepAspectRatio));
    icon.addPixmap(QPixmap::fromImage(reader.read()));
  }
  return icon;
}

QIcon IconFromImageFile(const QString& file) {
  QImageReader reader(file);
  reader.setDecideFormatFromContent(true);
  if (reader.format() == "svg") return IconFromDrawing(file, reader.size());
  return IconFromRaster(reader.read());
}

QIcon LoadIconResource(const IconResource& resource) {
  const IconResource* application = ApplicationIconResource();
  if (&resource == application && !ApplicationIconFile().isEmpty())
    return IconFromImageFile(ApplicationIconFile());
  return IconFromResourceFolder(resource.path);
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
  const IconResource* application = ApplicationIconResource();
  if (!application) return QIcon();
  return IconFromHandle(LoadIconW(nullptr, MAKEINTRESOURCEW(application->id)));
}

void UseApplicationIconFile(const QString& file) {
  ApplicationIconFile() = file;
  if (const IconResource* application = ApplicationIconResource())
    LoadedIcons().erase(application->id);
}

}  // namespace platform

HICON LoadIconW(HINSTANCE, LPCWSTR lpIconName) {
  const UINT id = static_cast<UINT>(reinterpret_cast<uintptr_t>(lpIconName));
  std::map<UINT, HICON>& loaded = platform::LoadedIcons();
  if (auto it = loaded.find(id); it != loaded.end()) return it->second;
  const platform::IconResource* resource = platform::FindIcon(id);
  if (!resource) return nullptr;
  const QIcon icon = platform::LoadIconResource(*resource);
  if (icon.isNull()) return nullptr;
  return loaded[id] = platform::HandleFromIcon(icon);
}
