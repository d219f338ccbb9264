#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <initializer_list>
#include <string>

#include "platform/gdi.h"
#include "platform/gdiplus.h"
#include "platform/qt/device_pixels.h"
#include "platform/qt/gdi_handles.h"
#include "skin/caption_buttons.h"
#include "skin/skin_image_store.h"

// Helpers shared by the drawing and skin tests.
namespace skin_test {

// A memory context with its own bitmap, filled with one colour.
class Canvas {
 public:
  Canvas(int width, int height, QRgb fill) {
    m_dc.CreateCompatibleDC(nullptr);
    m_bitmap.CreateCompatibleBitmap(&m_dc, width, height);
    m_dc.SelectObject(&m_bitmap);
    image().fill(fill);
  }
  ~Canvas() { m_dc.SelectObject(nullptr); }

  CDC& dc() { return m_dc; }
  QImage& image() { return m_bitmap.GetSafeHandle()->image; }
  QRgb pixel(int x, int y) { return image().pixel(x, y); }

 private:
  CDC m_dc;
  CBitmap m_bitmap;
};

inline std::wstring Wide(const QString& text) { return text.toStdWString(); }

// Saves image under root + relative name ("a\\b.png" style names become folders).
inline QString SaveImage(const QDir& root, const QString& relative, const QImage& image,
                         const char* format = nullptr) {
  const QString path = root.filePath(QString(relative).replace('\\', '/'));
  QDir().mkpath(QFileInfo(path).path());
  image.save(path, format);
  return path;
}

inline QImage Filled(int width, int height, QRgb color,
                     QImage::Format format = QImage::Format_ARGB32) {
  QImage image(width, height, format);
  image.fill(color);
  return image;
}

// Frames of one colour each, side by side, then extra columns of another colour.
inline QImage Strip(std::initializer_list<QRgb> frames, int frameWidth, int height,
                    int extraColumns = 0, QRgb extraColor = 0xFFFF00FF) {
  QImage image(frameWidth * int(frames.size()) + extraColumns, height, QImage::Format_RGB32);
  image.fill(extraColor);
  int x = 0;
  for (QRgb color : frames) {
    for (int column = x; column < x + frameWidth; ++column)
      for (int row = 0; row < height; ++row) image.setPixel(column, row, color);
    x += frameWidth;
  }
  return image;
}

// Every pixel of rect has the colour.
inline bool AllPixels(const QImage& image, const QRect& rect, QRgb color) {
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    for (int x = rect.left(); x <= rect.right(); ++x)
      if (image.pixel(x, y) != color) return false;
  return true;
}

// The smallest rectangle holding every pixel that differs from background.
inline QRect InkBounds(const QImage& image, const QRect& area, QRgb background) {
  QRect bounds;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (image.pixel(x, y) != background) bounds |= QRect(x, y, 1, 1);
  return bounds;
}

// Empty when both images hold the same pixels, else where they first differ.
inline std::string FirstDifference(const QImage& expected, const QImage& actual) {
  if (expected.size() != actual.size()) return "sizes differ";
  for (int y = 0; y < expected.height(); ++y)
    for (int x = 0; x < expected.width(); ++x)
      if (expected.pixel(x, y) != actual.pixel(x, y))
        return QString("%1,%2: expected %3, got %4")
            .arg(x)
            .arg(y)
            .arg(expected.pixel(x, y), 8, 16)
            .arg(actual.pixel(x, y), 8, 16)
            .toStdString();
  return "";
}

// The frames (normal, hover, pressed) of each caption button's strip, one colour
// each, by row of skin::kCaptionButtons.
constexpr QRgb kButtonFrames[skin::kCaptionButtons.size()][3] = {
    {0xFF300000, 0xFF500000, 0xFF700000},
    {0xFF003000, 0xFF005000, 0xFF007000},
    {0xFF000030, 0xFF000050, 0xFF000070},
    {0xFF303000, 0xFF505000, 0xFF707000},
};

// Saves a strip of three 20 x 22 one-colour frames for every caption button.
inline void SaveColourCodedButtons(const QDir& root) {
  for (size_t row = 0; row < skin::kCaptionButtons.size(); ++row) {
    const QString name = QString::fromWCharArray(skin::kCaptionButtons[row].image);
    const QRgb* frames = kButtonFrames[row];
    skin_test::SaveImage(root, name, Strip({frames[0], frames[1], frames[2]}, 20, 22),
                         name.endsWith(".bmp") ? "BMP" : "PNG");
  }
}

// The frame (0 normal, 1 hover, 2 pressed) that surface shows at the centre of the
// caption button id's logical rectangle, -1 for none of them.
inline int ShownFrame(const QImage& surface, UINT id, const RECT& rect) {
  const QRect logical(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1));
  const QRgb shown =
      surface.pixel(platform::DeviceRect(logical, surface.devicePixelRatio()).center());
  for (size_t row = 0; row < skin::kCaptionButtons.size(); ++row) {
    if (skin::kCaptionButtons[row].id != id) continue;
    for (int frame = 0; frame < 3; ++frame)
      if (kButtonFrames[row][frame] == shown) return frame;
  }
  return -1;
}

// A fresh skin image store whose root is a temporary folder of the test's own.
class FreshStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CSkinImageStore::DestroyInstance();
    m_store = CSkinImageStore::GetInstance();
    m_store->m_strSkinRoot = CString(Wide(m_dir.path() + "/"));
  }
  void TearDown() override { CSkinImageStore::DestroyInstance(); }

  QTemporaryDir m_dir;
  CSkinImageStore* m_store = nullptr;
};

}  // namespace skin_test
