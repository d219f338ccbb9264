#pragma once

#include <QString>
#include <QtGlobal>

namespace runtime {

// What the downloads window shows of one download.
struct DownloadProgress {
  enum class Stage { Running, Done, Failed, Cancelled };

  QString fileName;
  qint64 receivedBytes = 0;
  qint64 totalBytes = -1;  // below 0 while unknown
  qint64 bytesPerSecond = 0;
  Stage stage = Stage::Running;
  QString failure;  // why, once Failed
};

// The one status line under the file name.
QString DescribeDownload(const DownloadProgress& progress);

}  // namespace runtime
