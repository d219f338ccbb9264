// The shell itself, plus a line channel on standard input for what no user input
// reaches: look commands and the About command. It prints "look N" once the main
// window exists (N: the look the frame read), and "done <line>" after each line.
//   command ID   sends WM_COMMAND ID to the main window
//   about        posts the About command, so the channel stays open under the dialog
//   post ID      posts WM_COMMAND ID to the main window, the same way
//   move X Y     the pointer to window point (X, Y), through the toolkit's own input
//   click X Y    a left click there, the same way: for platforms where no tool here
//                can inject input (Wayland)
//   size         reports "done size W H", the main window's size
#include <unistd.h>

#include <QSocketNotifier>
#include <QString>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <memory>

#include "app/vintrel_app.h"
#include "platform/command_ids.h"
#include "platform/qt/window_host.h"
#include "platform/wnd.h"

namespace {

void Report(const QString& line) {
  std::printf("%s\n", line.toUtf8().constData());
  std::fflush(stdout);
}

class LookDriverApp : public CVintrelApp {
 public:
  BOOL InitInstance() override {
    const BOOL started = CVintrelApp::InitInstance();
    if (started && m_pMainWnd) {
      Report(QStringLiteral("look %1").arg(m_nApplicationLook));
      ListenOnStandardInput();
    }
    return started;
  }

 private:
  void ListenOnStandardInput() {
    m_notifier = std::make_unique<QSocketNotifier>(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { ReadInput(); });
  }

  void ReadInput() {
    char chunk[256];
    const ssize_t count = ::read(STDIN_FILENO, chunk, sizeof chunk);
    if (count <= 0) {
      m_notifier->setEnabled(false);  // the test is gone
      return;
    }
    m_pending.append(QByteArray(chunk, static_cast<int>(count)));
    for (int end = m_pending.indexOf('\n'); end >= 0; end = m_pending.indexOf('\n')) {
      const QString line = QString::fromUtf8(m_pending.left(end)).trimmed();
      m_pending.remove(0, end + 1);
      RunCommand(line);
    }
  }

  void RunCommand(const QString& line) {
    CWnd* frame = m_pMainWnd;
    if (!frame) return;
    const QStringList words = line.split(' ', Qt::SkipEmptyParts);
    QWindow* window = frame->host() ? frame->host()->windowHandle() : nullptr;
    if (words.size() == 2 && words[0] == "command") {
      frame->SendMessage(WM_COMMAND, words[1].toUInt());
    } else if (words.size() == 2 && words[0] == "post") {
      frame->PostMessage(WM_COMMAND, words[1].toUInt());
    } else if (words.size() == 3 && words[0] == "move" && window) {
      QTest::mouseMove(window, QPoint(words[1].toInt(), words[2].toInt()));
    } else if (words.size() == 3 && words[0] == "click" && window) {
      // Reported first: the click may end the process.
      Report(QStringLiteral("done %1").arg(line));
      QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(words[1].toInt(), words[2].toInt()));
      return;
    } else if (line == "size" && frame->host()) {
      Report(QStringLiteral("done size %1 %2")
                 .arg(frame->host()->width())
                 .arg(frame->host()->height()));
      return;
    } else if (line == "about") {
      frame->PostMessage(WM_COMMAND, ID_APP_ABOUT);
    } else {
      Report(QStringLiteral("unknown %1").arg(line));
      return;
    }
    Report(QStringLiteral("done %1").arg(line));
  }

  std::unique_ptr<QSocketNotifier> m_notifier;
  QByteArray m_pending;
};

LookDriverApp theApp;

}  // namespace

int main(int argc, char** argv) { return AfxWinMain(argc, argv); }
