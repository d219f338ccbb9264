#pragma once

#include <QWidget>

class QVBoxLayout;

namespace runtime {

class TrackedDownload;

// The shell's window of downloads, newest first: each with its file name, its
// progress and speed, Cancel while it runs, and Open and Show in folder once
// it is done. Closing it hides it; downloads go on.
class DownloadWindow : public QWidget {
 public:
  DownloadWindow();

  void add(TrackedDownload* download);
  // Shows the window in front, as the user asked or a download started.
  void present();

 private:
  QVBoxLayout* m_rows;
};

}  // namespace runtime
