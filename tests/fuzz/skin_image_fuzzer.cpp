// Any bytes as a skin image file: loaded through a fresh image store under a PNG and a BMP
// name (the decoder is picked by the name first, then by the content), then drawn the ways
// the skin draws: every caption button in every state, and the frame's painter on an
// off-screen window. Nothing may crash, and no allocation may exceed the decode bound.

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "skin/skin_frame_wnd.h"
#include "skin/skin_image_store.h"

namespace {

constexpr const char* kFileNames[] = {"skin.png", "skin.bmp"};
constexpr int kFrameWidth = 951;
constexpr int kFrameHeight = 681;

class FuzzFrame : public CSkinFrameWnd {
 public:
  // Gives the background and every button this image, paints once per button
  // state, and lets go of the image again.
  void PaintWith(Gdiplus::Image* image) {
    m_pBkImage = image;
    for (auto& entry : m_buttons) entry.second.m_pImage = image;
    for (const bool pressed : {false, true})
      for (const bool hover : {false, true}) {
        for (auto& entry : m_buttons) {
          entry.second.Leave();
          if (hover) entry.second.Hover();
          if (pressed) entry.second.Press();
        }
        OnNcPaint();
      }
    m_pBkImage = nullptr;
    for (auto& entry : m_buttons) entry.second.m_pImage = nullptr;
  }
};

// Lives until the process ends: the fuzzer never returns from its loop.
struct Session {
  // Qt gets the program name only: the fuzzer's own flags are not for it.
  explicit Session(char* program) : argv{program, nullptr}, app(argc, argv) {
    frame = new FuzzFrame;
    if (!folder.isValid() || !frame->CreateEx(0, nullptr, L"fuzz", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                              0, 0, kFrameWidth, kFrameHeight, nullptr, 0))
      std::abort();
  }
  int argc = 1;
  char* argv[2];
  QApplication app;
  QTemporaryDir folder;
  FuzzFrame* frame = nullptr;
};

Session* g_session = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  g_session = new Session(*argc > 0 ? (*argv)[0] : nullptr);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString root = g_session->folder.path() + "/";
  for (const char* name : kFileNames) {
    QFile file(root + name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    file.write(reinterpret_cast<const char*>(data), qint64(size));
  }
  CSkinImageStore* store = CSkinImageStore::GetInstance();
  store->m_strSkinRoot = CString(root.toStdWString());
  for (const char* name : kFileNames)
    g_session->frame->PaintWith(store->GetImage(QString(name).toStdWString().c_str()));
  CSkinImageStore::DestroyInstance();
  return 0;
}
