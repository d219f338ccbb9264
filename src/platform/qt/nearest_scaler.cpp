#include "platform/qt/nearest_scaler.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace platform {

namespace {

bool IsWholeNumber(qreal value) { return value == std::floor(value); }

bool HasWholeCorners(const QRectF& rect) {
  return IsWholeNumber(rect.x()) && IsWholeNumber(rect.y()) && IsWholeNumber(rect.width()) &&
         IsWholeNumber(rect.height());
}

bool IsPlain32Bit(QImage::Format format) {
  return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32_Premultiplied;
}

// Source-over of a premultiplied pixel, as the raster painter computes it.
QRgb BlendOver(QRgb source, QRgb destination) {
  const uint inverse = 255 - qAlpha(source);
  uint redBlue = (destination & 0xff00ff) * inverse;
  redBlue = ((redBlue + ((redBlue >> 8) & 0xff00ff) + 0x800080) >> 8) & 0xff00ff;
  uint alphaGreen = ((destination >> 8) & 0xff00ff) * inverse;
  alphaGreen = (alphaGreen + ((alphaGreen >> 8) & 0xff00ff) + 0x800080) & 0xff00ff00;
  return source + (alphaGreen | redBlue);
}

// The source pixel under the centre of target pixel `offset`, a centre on a
// boundary going to the lower pixel, as the raster painter picks it.
int NearestSource(int offset, int sourceLength, int targetLength) {
  return int(((qint64(offset) * 2 + 1) * sourceLength - 1) / (qint64(targetLength) * 2));
}

// One colour over count pixels; long runs (a stretched caption) double up
// with block copies, which beat a store per pixel.
void FillRow(QRgb* row, int count, QRgb pixel) {
  constexpr int kShortRun = 16;
  const int first = std::min(count, kShortRun);
  std::fill_n(row, first, pixel);
  for (int done = first; done < count;) {
    const int chunk = std::min(done, count - done);
    std::memcpy(row + done, row, size_t(chunk) * sizeof(QRgb));
    done += chunk;
  }
}

}  // namespace

bool ScaleNearest(QImage& target, const QRegion& clip, const QRectF& to, const QImage& source,
                  const QRectF& from) {
  if (!IsPlain32Bit(target.format()) || !IsPlain32Bit(source.format()) || clip.rectCount() > 1 ||
      !HasWholeCorners(to) || !HasWholeCorners(from) || !source.rect().contains(from.toRect()))
    return false;
  const QRect destination = to.toRect() & target.rect() & clip.boundingRect();
  if (destination.isEmpty()) return true;
  const QRect area = to.toRect();
  const QRect sample = from.toRect();
  // Runs of target columns that show the same source column.
  struct Run {
    int sourceX;
    int length;
  };
  std::vector<Run> runs;
  for (int x = destination.left(); x <= destination.right(); ++x) {
    const int sourceX =
        sample.left() + NearestSource(x - area.left(), sample.width(), area.width());
    if (!runs.empty() && runs.back().sourceX == sourceX)
      ++runs.back().length;
    else
      runs.push_back({sourceX, 1});
  }
  const bool opaque = source.format() == QImage::Format_RGB32;
  // Row addresses from one base each: scanLine() checks for sharing on every call.
  uchar* const targetBits = target.bits();
  const uchar* const sourceBits = source.constBits();
  const bool unscaled = opaque && sample.size() == area.size();
  for (int y = destination.top(); y <= destination.bottom(); ++y) {
    const int sourceY =
        sample.top() + NearestSource(y - area.top(), sample.height(), area.height());
    const auto* sourceRow =
        reinterpret_cast<const QRgb*>(sourceBits + sourceY * source.bytesPerLine());
    auto* targetRow =
        reinterpret_cast<QRgb*>(targetBits + y * target.bytesPerLine()) + destination.left();
    if (unscaled) {
      std::memcpy(targetRow, sourceRow + runs.front().sourceX,
                  size_t(destination.width()) * sizeof(QRgb));
      continue;
    }
    for (const Run& run : runs) {
      const QRgb pixel = sourceRow[run.sourceX];
      if (opaque || qAlpha(pixel) == 255) {
        FillRow(targetRow, run.length, pixel);
      } else if (qAlpha(pixel) != 0) {
        for (int i = 0; i < run.length; ++i) targetRow[i] = BlendOver(pixel, targetRow[i]);
      }
      targetRow += run.length;
    }
  }
  return true;
}

}  // namespace platform
