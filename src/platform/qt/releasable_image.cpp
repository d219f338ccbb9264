#include "platform/qt/releasable_image.h"

#include <sys/mman.h>

namespace platform {
namespace {

struct Mapping {
  void* address;
  size_t length;
};

void Unmap(void* info) {
  auto* mapping = static_cast<Mapping*>(info);
  munmap(mapping->address, mapping->length);
  delete mapping;
}

}  // namespace

QImage MakeReleasableImage(QSize size, QImage::Format format) {
  if (size.isEmpty()) return QImage();
  const int depth = QImage(1, 1, format).depth();
  const qsizetype bytesPerLine = ((qsizetype(size.width()) * depth + 31) / 32) * 4;
  const size_t length = size_t(bytesPerLine) * size_t(size.height());
  // Every page is written soon after (a bitmap is filled whole, and each row of a
  // frame holds border pixels): faulting them all in at once costs less than one
  // fault per page.
  const int flags = MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE;
  void* address = mmap(nullptr, length, PROT_READ | PROT_WRITE, flags, -1, 0);
  if (address == MAP_FAILED) return QImage();
  return QImage(static_cast<uchar*>(address), size.width(), size.height(), bytesPerLine, format,
                Unmap, new Mapping{address, length});
}

}  // namespace platform
