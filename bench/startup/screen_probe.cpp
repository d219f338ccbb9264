// Starts a program and watches the X screen for what a user would see of its start: the first
// window mapped, the first pixel that differs from the desktop at a probe point, and the colour
// that the benchmark page paints once its load event has run. Prints one line of key=value
// figures, then ends the program and every process it started.
//
//   startup_probe --at X,Y --value-at X,Y --desktop RRGGBB --marker RRGGBB [--done RRGGBB]
//                 -- program [args]
//
// Times are milliseconds from just before exec. At the marker the probe also reads the CPU time
// and the proportional set size (PSS) of the program's process tree, and the PSS again 3 s later.
// The page paints the time from its navigation start to its load event into the pixel at
// --value-at, as a 24-bit number, so that nothing but the screen is read. With --done, the
// probe then waits for that colour at --at (the page has gone on to do more, such as later
// navigations) before it ends the program; the marker must still show when the PSS is read late.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(1);
constexpr auto kSettleAfterLoad = std::chrono::seconds(3);
constexpr auto kStopGrace = std::chrono::seconds(5);
constexpr double kTimeoutMs = 60000;

struct Point {
  int x = -1;
  int y = -1;
};

struct Options {
  Point at;
  Point valueAt;
  unsigned long desktop = 0;
  unsigned long marker = 0;
  unsigned long done = 0;
  bool waitForDone = false;
  char** command = nullptr;
};

double NowMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

bool ParsePoint(const char* text, Point& point) {
  return text && std::sscanf(text, "%d,%d", &point.x, &point.y) == 2;
}

bool ParseColour(const char* text, unsigned long& colour) {
  if (!text || std::strlen(text) != 6) return false;
  char* end = nullptr;
  colour = std::strtoul(text, &end, 16);
  return end && *end == '\0';
}

bool ParseDone(const char* text, Options& options) {
  options.waitForDone = ParseColour(text, options.done);
  return options.waitForDone;
}

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string name = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    if (name == "--") {
      options.command = i + 1 < argc ? argv + i + 1 : nullptr;
      break;
    }
    const bool ok = (name == "--at" && ParsePoint(value, options.at)) ||
                    (name == "--value-at" && ParsePoint(value, options.valueAt)) ||
                    (name == "--desktop" && ParseColour(value, options.desktop)) ||
                    (name == "--marker" && ParseColour(value, options.marker)) ||
                    (name == "--done" && ParseDone(value, options));
    if (!ok) return false;
    ++i;
  }
  return options.command && options.at.x >= 0 && options.valueAt.x >= 0;
}

// The colour of one screen pixel as 0xRRGGBB.
unsigned long ScreenPixel(Display* display, const Point& point) {
  XImage* image =
      XGetImage(display, DefaultRootWindow(display), point.x, point.y, 1, 1, AllPlanes, ZPixmap);
  if (!image) return 0;
  const unsigned long pixel = XGetPixel(image, 0, 0);
  XDestroyImage(image);
  return pixel & 0xFFFFFF;
}

bool AnyWindowMapped(Display* display) {
  bool mapped = false;
  XEvent event;
  while (XPending(display)) {
    XNextEvent(display, &event);
    if (event.type == MapNotify) mapped = true;
  }
  return mapped;
}

std::vector<pid_t> ProcessTree(pid_t root) {
  std::vector<pid_t> tree{root};
  for (size_t i = 0; i < tree.size(); ++i) {
    std::ifstream children("/proc/" + std::to_string(tree[i]) + "/task/" + std::to_string(tree[i]) +
                           "/children");
    pid_t child;
    while (children >> child) tree.push_back(child);
  }
  return tree;
}

long TreePssKib(pid_t root) {
  long total = 0;
  for (pid_t pid : ProcessTree(root)) {
    std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
    std::string line;
    while (std::getline(rollup, line)) {
      if (line.rfind("Pss:", 0) == 0) {
        total += std::strtol(line.c_str() + 4, nullptr, 10);
        break;
      }
    }
  }
  return total;
}

// User and system time of the tree, including children it has already reaped.
double TreeCpuMs(pid_t root) {
  const double ticksPerMs = sysconf(_SC_CLK_TCK) / 1000.0;
  long long ticks = 0;
  for (pid_t pid : ProcessTree(root)) {
    std::ifstream statFile("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(statFile)), std::istreambuf_iterator<char>());
    const size_t afterName = stat.rfind(')');
    if (afterName == std::string::npos) continue;
    std::istringstream fields(stat.substr(afterName + 2));
    std::string field;
    // Fields 14 to 17 of stat: utime, stime, cutime, cstime (state is field 3).
    for (int index = 3; index <= 17 && fields >> field; ++index) {
      if (index >= 14) ticks += std::atoll(field.c_str());
    }
  }
  return ticks / ticksPerMs;
}

bool WaitForColour(Display* display, const Point& point, unsigned long colour) {
  const double start = NowMs();
  while (ScreenPixel(display, point) != colour) {
    if (NowMs() - start > kTimeoutMs) return false;
    std::this_thread::sleep_for(kPollInterval);
  }
  return true;
}

// The previous program's window may linger for a moment after it ended.
bool WaitForDesktop(Display* display, const Options& options) {
  if (!WaitForColour(display, options.at, options.desktop)) return false;
  AnyWindowMapped(display);  // drops the events of windows that came before
  return true;
}

void StopTree(pid_t root) {
  const std::vector<pid_t> tree = ProcessTree(root);
  kill(root, SIGTERM);
  const auto giveUp = std::chrono::steady_clock::now() + kStopGrace;
  int status = 0;
  while (waitpid(root, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > giveUp) {
      kill(root, SIGKILL);
      waitpid(root, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  // A sub-process left behind would skew the next start.
  for (pid_t pid : tree) kill(pid, SIGKILL);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(
        stderr,
        "usage: %s --at X,Y --value-at X,Y --desktop RRGGBB --marker RRGGBB [--done RRGGBB] "
        "-- program [args]\n",
        argv[0]);
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "cannot open the X display\n");
    return 2;
  }
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  if (!WaitForDesktop(display, options)) {
    std::fprintf(stderr, "the screen does not show the desktop at the probe point\n");
    return 2;
  }

  const double start = NowMs();
  const pid_t child = fork();
  if (child == 0) {
    execvp(options.command[0], options.command);
    std::perror("exec");
    _exit(127);
  }
  double mapped = -1, firstPaint = -1, loadPainted = -1;
  while (loadPainted < 0 && NowMs() - start < kTimeoutMs) {
    if (waitpid(child, nullptr, WNOHANG) == child) {
      std::fprintf(stderr, "the program ended before its page was painted\n");
      return 1;
    }
    const double now = NowMs();
    if (mapped < 0 && AnyWindowMapped(display)) mapped = now - start;
    const unsigned long pixel = ScreenPixel(display, options.at);
    if (firstPaint < 0 && pixel != options.desktop) firstPaint = now - start;
    if (pixel == options.marker) loadPainted = now - start;
    std::this_thread::sleep_for(kPollInterval);
  }
  if (loadPainted < 0) {
    std::fprintf(stderr, "the page was not painted within %.0f ms\n", kTimeoutMs);
    StopTree(child);
    return 1;
  }
  const double cpuMs = TreeCpuMs(child);
  const long pssAtLoad = TreePssKib(child);
  const unsigned long navigationToLoad = ScreenPixel(display, options.valueAt);
  std::this_thread::sleep_for(kSettleAfterLoad);
  const long pssLater = TreePssKib(child);
  if (options.waitForDone) {
    if (ScreenPixel(display, options.at) != options.marker) {
      std::fprintf(stderr, "the page moved on before its memory was read 3 s after load\n");
      StopTree(child);
      return 1;
    }
    if (!WaitForColour(display, options.at, options.done)) {
      std::fprintf(stderr, "the page did not show its done colour within %.0f ms\n", kTimeoutMs);
      StopTree(child);
      return 1;
    }
  }
  StopTree(child);
  XCloseDisplay(display);
  std::printf(
      "mapped=%.1f first_paint=%.1f load_painted=%.1f navigation_to_load=%lu cpu=%.0f "
      "pss_load=%.1f pss_later=%.1f\n",
      mapped, firstPaint, loadPainted, navigationToLoad, cpuMs, pssAtLoad / 1024.0,
      pssLater / 1024.0);
  return 0;
}
