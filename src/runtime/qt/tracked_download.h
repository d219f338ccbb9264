#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QWebEngineDownloadRequest>

#include "runtime/qt/download_progress.h"

namespace runtime {

// One accepted download, which the engine writes into a folder of its own
// beside the target: the data gets the target's name once complete, and the
// folder goes when the download fails or is cancelled.
class TrackedDownload : public QObject {
  Q_OBJECT

 public:
  TrackedDownload(QWebEngineDownloadRequest* request, QString targetPath, QString folder,
                  QObject* parent);
  // A download that failed before it could start.
  TrackedDownload(QString targetPath, const QString& failure, QObject* parent);

  const DownloadProgress& progress() const { return m_progress; }
  const QString& targetPath() const { return m_targetPath; }
  bool isRunning() const { return m_progress.stage == DownloadProgress::Stage::Running; }

  quint32 id() const { return m_id; }

  // The user's Cancel; also what a download still running at shutdown gets.
  void cancel();
  // The engine lost the connection and wants to start the download over; the
  // shell does not resume downloads, so this one has failed for that reason.
  void failInterrupted(const QString& reason);

 signals:
  void changed();

 private:
  void update();
  void finish();
  void commit();
  void discardFolder();

  QPointer<QWebEngineDownloadRequest> m_request;
  const quint32 m_id;
  const QString m_targetPath;
  const QString m_folder;
  QElapsedTimer m_clock;
  DownloadProgress m_progress;
};

}  // namespace runtime
