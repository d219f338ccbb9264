// The skinned frame's painter against a floor measured in the same run: filling
// the same non-client pixels with one colour and copying them to the window.
// `--scale=F` runs it on a dense screen (QT_SCALE_FACTOR F): window sizes are
// logical, the pixels filled and painted are the device pixels.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QMouseEvent>
#include <QTemporaryFile>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/qt/device_pixels.h"
#include "platform/qt/icon.h"
#include "platform/qt/window_host.h"
#include "skin/caption_buttons.h"
#include "skin/skin_frame_wnd.h"
#include "skin/skin_geometry.h"
#include "skin/skin_image_store.h"

namespace {

constexpr QRgb kFloorColor = 0xFF263238;
constexpr int kRepetitions = 5;
constexpr QSize kScreenPixels(3840, 2160);
constexpr const char* kScaleOption = "--scale=";
const char* const kScreenConfig =
    R"({"screens":[{"name":"S1","x":0,"y":0,"width":3840,"height":2160,)"
    R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})";

struct WindowSize {
  int width;
  int height;
  std::string name() const { return std::to_string(width) + "x" + std::to_string(height); }
};

class BenchFrame : public CSkinFrameWnd {
 public:
  void OnNcPaint() override {
    ++paints;
    CSkinFrameWnd::OnNcPaint();
  }
  int paints = 0;
};

// A visible skinned frame of the given size with the default skin and an icon.
class OpenFrame {
 public:
  explicit OpenFrame(WindowSize size) : m_frame(new BenchFrame) {
    m_frame->CreateEx(0, nullptr, L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, size.width,
                      size.height, nullptr, 0);
    m_frame->SetIcon(platform::HandleFromIcon(QIcon(":/res/icon/vintrel-16.png")), FALSE);
    QApplication::processEvents();
  }
  ~OpenFrame() {
    m_frame->DestroyWindow();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  BenchFrame& operator*() { return *m_frame; }
  BenchFrame* operator->() { return m_frame; }

 private:
  BenchFrame* m_frame;
};

QRegion NonClientRegion(QSize window) {
  const CRect c = skin::LayoutFrame(SIZE{window.width(), window.height()}, SIZE{16, 16}).client;
  return QRegion(QRect(QPoint(0, 0), window)) - QRect(c.left, c.top, c.Width(), c.Height());
}

void FillAndCopy(QImage& offscreen, platform::WindowHost& host, const QRegion& nonClient) {
  QImage& surface = host.surface().pixels();
  for (const QRect& rect : platform::DeviceRegion(nonClient, surface.devicePixelRatio())) {
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
      auto* row = reinterpret_cast<QRgb*>(offscreen.scanLine(y)) + rect.left();
      std::fill_n(row, rect.width(), kFloorColor);
      std::memcpy(surface.scanLine(y) + rect.left() * 4, row, size_t(rect.width()) * 4);
    }
  }
  host.surface().show(nonClient);
}

void Floor(benchmark::State& state, WindowSize size) {
  OpenFrame frame(size);
  platform::WindowHost& host = *frame->host();
  QImage offscreen(host.surface().pixels().size(), QImage::Format_ARGB32_Premultiplied);
  const QRegion nonClient = NonClientRegion(host.size());
  for (auto _ : state) FillAndCopy(offscreen, host, nonClient);
}

void Painter(benchmark::State& state, WindowSize size) {
  OpenFrame frame(size);
  for (auto _ : state) frame->OnNcPaint();
}

// Where the caption button id is painted, as assistive technologies are told.
CRect ButtonRect(CSkinFrameWnd& frame, UINT id) {
  for (const platform::AccessibleCaptionButton& button : frame.AccessibleCaptionButtons()) {
    if (button.id == id) return button.rect;
  }
  return CRect();
}

QPoint CentreOf(const CRect& rect) {
  return QPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

// Counts, per iteration, the frame's paints and the device pixels its window put on
// screen while the counter lived.
class RepaintCounters {
 public:
  RepaintCounters(benchmark::State& state, BenchFrame& frame)
      : m_state(state),
        m_frame(frame),
        m_paints(frame.paints),
        m_shown(frame.host()->surface().pixelsShown()) {}
  ~RepaintCounters() {
    m_state.counters["paints"] =
        benchmark::Counter(m_frame.paints - m_paints, benchmark::Counter::kAvgIterations);
    m_state.counters["shown_px"] =
        benchmark::Counter(double(m_frame.host()->surface().pixelsShown() - m_shown),
                           benchmark::Counter::kAvgIterations);
  }

 private:
  benchmark::State& m_state;
  BenchFrame& m_frame;
  int m_paints;
  quint64 m_shown;
};

// A window message at a point in window coordinates, as the window sends it.
void SendNonClientMove(CSkinFrameWnd& frame, QPoint windowPoint) {
  CRect window;
  frame.GetWindowRect(&window);
  const LPARAM screen = MAKELPARAM(window.left + windowPoint.x(), window.top + windowPoint.y());
  const LRESULT hit = frame.SendMessage(WM_NCHITTEST, 0, screen);
  frame.SendMessage(WM_NCMOUSEMOVE, static_cast<WPARAM>(hit), screen);
}

// A hover change from the frame's side: the pointer onto the close button and back
// onto the caption background, each followed by the repaints it queued.
void HoverChange(benchmark::State& state, WindowSize size) {
  OpenFrame frame(size);
  const QPoint onClose = CentreOf(ButtonRect(*frame, skin::kCloseButtonId));
  const QPoint onCaption(size.width / 2, 19);
  bool onButton = false;
  RepaintCounters counters(state, *frame);
  for (auto _ : state) {
    onButton = !onButton;
    SendNonClientMove(*frame, onButton ? onClose : onCaption);
    QApplication::processEvents();
  }
}

// A pointer event as the window system delivers it to the frame's window.
void SendMouse(QWidget& host, QEvent::Type type, QPoint windowPoint, Qt::MouseButtons buttons) {
  const QPointF local(windowPoint);
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent event(type, local, host.mapToGlobal(local), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(&host, &event);
}

// The whole path of a hover change: the Qt mouse event, hit-test, non-client move,
// hover state, the painter, the copy to the window and the repaints queued,
// alternately onto the close button and back onto the caption background.
void PointerHoverChange(benchmark::State& state, WindowSize size) {
  OpenFrame frame(size);
  QWidget& host = *frame->host();
  const QPoint onClose = CentreOf(ButtonRect(*frame, skin::kCloseButtonId));
  const QPoint onCaption(size.width / 2, 19);
  bool onButton = false;
  {
    RepaintCounters counters(state, *frame);
    for (auto _ : state) {
      onButton = !onButton;
      SendMouse(host, QEvent::MouseMove, onButton ? onClose : onCaption, Qt::NoButton);
      QApplication::processEvents();
    }
  }
  // Moves within one button must not repaint at all.
  SendMouse(host, QEvent::MouseMove, onClose, Qt::NoButton);
  QApplication::processEvents();
  const int paints = frame->paints;
  const quint64 shown = frame->host()->surface().pixelsShown();
  for (int dx = 0; dx < 8; ++dx) {
    SendMouse(host, QEvent::MouseMove, onClose + QPoint(dx - 4, 1), Qt::NoButton);
  }
  QApplication::processEvents();
  state.counters["paints_within_button"] = frame->paints - paints;
  state.counters["shown_px_within_button"] = double(frame->host()->surface().pixelsShown() - shown);
}

// A press on the about button, which repaints the button at once. Its release
// happens away from the button, untimed, so that no click completes.
void PointerPress(benchmark::State& state, WindowSize size) {
  OpenFrame frame(size);
  QWidget& host = *frame->host();
  const CRect about = ButtonRect(*frame, skin::kAboutButtonId);
  const QPoint point(about.left + 5, about.top + 5);
  const QPoint elsewhere(size.width / 2, 19);
  SendMouse(host, QEvent::MouseMove, point, Qt::NoButton);
  for (auto _ : state) {
    SendMouse(host, QEvent::MouseButtonPress, point, Qt::LeftButton);
    QApplication::processEvents();
    state.PauseTiming();
    // Released away from the button: no click completes, nothing is posted.
    SendMouse(host, QEvent::MouseMove, elsewhere, Qt::LeftButton);
    SendMouse(host, QEvent::MouseButtonRelease, elsewhere, Qt::NoButton);
    SendMouse(host, QEvent::MouseMove, point, Qt::NoButton);
    QApplication::processEvents();
    state.ResumeTiming();
  }
}

// Prints each measurement's median beside the floor's median of the same size.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      // In the benchmarks' unit, microseconds.
      if (run.aggregate_name == "median")
        m_medians[run.run_name.function_name] = {run.GetAdjustedRealTime(),
                                                 run.GetAdjustedCPUTime()};
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\nmedians, real (cpu), and the real-time ratio to the floor of the same size\n");
    for (const auto& [name, time] : m_medians) {
      const std::string size = name.substr(name.find('/') + 1);
      const auto floor = m_medians.find("Floor/" + size);
      if (name.rfind("Floor/", 0) == 0 || floor == m_medians.end()) continue;
      std::printf("%-24s %8.1f (%8.1f) us   floor %8.1f (%8.1f) us   ratio %5.2f\n", name.c_str(),
                  time.real, time.cpu, floor->second.real, floor->second.cpu,
                  time.real / floor->second.real);
    }
  }

 private:
  struct Times {
    double real;
    double cpu;
  };
  std::map<std::string, Times> m_medians;
};

void Register(const std::string& name, void (*function)(benchmark::State&, WindowSize),
              WindowSize size) {
  benchmark::RegisterBenchmark((name + "/" + size.name()).c_str(), function, size)
      ->Unit(benchmark::kMicrosecond)
      ->Repetitions(kRepetitions)
      ->ReportAggregatesOnly(true);
}

}  // namespace

// Takes `--scale=F` out of the arguments; 1 without it.
double TakeScale(int& argc, char** argv) {
  double scale = 1;
  int kept = 0;
  for (int i = 0; i < argc; ++i) {
    if (std::strncmp(argv[i], kScaleOption, std::strlen(kScaleOption)) == 0)
      scale = std::atof(argv[i] + std::strlen(kScaleOption));
    else
      argv[kept++] = argv[i];
  }
  argc = kept;
  return scale > 0 ? scale : 1;
}

int main(int argc, char** argv) {
  const double scale = TakeScale(argc, argv);
  if (scale != 1) qputenv("QT_SCALE_FACTOR", QByteArray::number(scale));
  // Offscreen, on a screen large enough for the largest window.
  QTemporaryFile screen;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && screen.open()) {
    screen.write(kScreenConfig);
    screen.flush();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + screen.fileName()).toLocal8Bit());
  }
  QApplication app(argc, argv);
  CSkinImageStore::GetInstance()->m_strSkinRoot =
      CString(QString::fromUtf8(VINTREL_SKIN_SOURCE_DIR).toStdWString());

  // Logical window sizes up to the whole screen.
  const QSize screenSize = (QSizeF(kScreenPixels) / scale).toSize();
  for (const WindowSize size :
       {WindowSize{1000, 700}, WindowSize{1920, 1080}, WindowSize{3840, 2160}}) {
    if (size.width > screenSize.width() || size.height > screenSize.height()) continue;
    Register("Floor", Floor, size);
    Register("Painter", Painter, size);
  }
  Register("HoverChange", HoverChange, WindowSize{1920, 1080});
  Register("PointerHoverChange", PointerHoverChange, WindowSize{1920, 1080});
  Register("PointerPress", PointerPress, WindowSize{1920, 1080});
  std::printf("device pixel ratio %.2f, screen %dx%d device pixels\n", scale, kScreenPixels.width(),
              kScreenPixels.height());

  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  CSkinImageStore::DestroyInstance();
  return 0;
}
