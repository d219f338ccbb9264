#include "runtime/qt/tracked_download.h"

#include <QDir>
#include <QFileInfo>

#include "runtime/qt/download_file.h"

namespace runtime {

namespace {

constexpr qint64 kMillisecondsPerSecond = 1000;

}  // namespace

TrackedDownload::TrackedDownload(QWebEngineDownloadRequest* request, QString targetPath,
                                 QString folder, QObject* parent)
    : QObject(parent),
      m_request(request),
      m_id(request->id()),
      m_targetPath(std::move(targetPath)),
      m_folder(std::move(folder)) {
  m_clock.start();
  m_progress.fileName = QFileInfo(m_targetPath).fileName();
  connect(request, &QWebEngineDownloadRequest::receivedBytesChanged, this,
          &TrackedDownload::update);
  connect(request, &QWebEngineDownloadRequest::totalBytesChanged, this, &TrackedDownload::update);
  connect(request, &QWebEngineDownloadRequest::stateChanged, this, &TrackedDownload::finish);
  connect(request, &QWebEngineDownloadRequest::isFinishedChanged, this, &TrackedDownload::finish);
  update();
}

TrackedDownload::TrackedDownload(QString targetPath, const QString& failure, QObject* parent)
    : QObject(parent), m_id(0), m_targetPath(std::move(targetPath)) {
  m_progress.fileName = QFileInfo(m_targetPath).fileName();
  m_progress.stage = DownloadProgress::Stage::Failed;
  m_progress.failure = failure;
}

void TrackedDownload::cancel() {
  if (!isRunning()) return;
  if (m_request) m_request->cancel();
  // Whatever the engine does with its file later, nothing of it stays now.
  m_progress.stage = DownloadProgress::Stage::Cancelled;
  discardFolder();
  emit changed();
}

void TrackedDownload::failInterrupted(const QString& reason) {
  if (!isRunning()) return;
  m_progress.stage = DownloadProgress::Stage::Failed;
  m_progress.failure = reason;
  if (m_request) m_request->cancel();
  discardFolder();
  emit changed();
}

void TrackedDownload::update() {
  if (!m_request || !isRunning()) return;
  m_progress.receivedBytes = m_request->receivedBytes();
  m_progress.totalBytes = m_request->totalBytes();
  const qint64 elapsed = qMax<qint64>(1, m_clock.elapsed());
  m_progress.bytesPerSecond = m_progress.receivedBytes * kMillisecondsPerSecond / elapsed;
  emit changed();
}

void TrackedDownload::finish() {
  if (!m_request || !isRunning()) return;
  update();
  switch (m_request->state()) {
    case QWebEngineDownloadRequest::DownloadCompleted:
      if (!m_request->isFinished()) return;
      commit();
      break;
    case QWebEngineDownloadRequest::DownloadCancelled:
      m_progress.stage = DownloadProgress::Stage::Cancelled;
      discardFolder();
      break;
    case QWebEngineDownloadRequest::DownloadInterrupted:
      failInterrupted(m_request->interruptReasonString());
      return;
    default:
      return;
  }
  emit changed();
}

void TrackedDownload::commit() {
  const QString data = QDir(m_folder).filePath(m_request->downloadFileName());
  QString why;
  if (CommitDownload(data, m_targetPath, &why)) {
    m_progress.stage = DownloadProgress::Stage::Done;
    QDir().rmdir(m_folder);
    return;
  }
  // The data is whole: it stays where it is, and the user is told where.
  m_progress.stage = DownloadProgress::Stage::Failed;
  m_progress.failure = tr("it could not take its name (%1); the data is in %2")
                           .arg(why, QDir::toNativeSeparators(data));
}

void TrackedDownload::discardFolder() { QDir(m_folder).removeRecursively(); }

}  // namespace runtime
