#include "runtime/qt/download_progress.h"

#include <QCoreApplication>
#include <QLocale>

namespace runtime {

namespace {

QString Tr(const char* text) { return QCoreApplication::translate("Downloads", text); }

QString Size(qint64 bytes) {
  return QLocale().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

QString Running(const DownloadProgress& progress) {
  const QString total = progress.totalBytes >= 0 ? Size(progress.totalBytes) : Tr("unknown size");
  return Tr("%1 of %2, %3/s")
      .arg(Size(progress.receivedBytes), total, Size(progress.bytesPerSecond));
}

}  // namespace

QString DescribeDownload(const DownloadProgress& progress) {
  switch (progress.stage) {
    case DownloadProgress::Stage::Running:
      return Running(progress);
    case DownloadProgress::Stage::Done:
      return Tr("Done, %1").arg(Size(progress.receivedBytes));
    case DownloadProgress::Stage::Failed:
      return Tr("Failed: %1. Nothing was saved under this name.").arg(progress.failure);
    case DownloadProgress::Stage::Cancelled:
      return Tr("Cancelled. Nothing was saved.");
  }
  return QString();
}

}  // namespace runtime
