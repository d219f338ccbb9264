#include "runtime/qt/download_window.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QUrl>
#include <QVBoxLayout>

#include "runtime/qt/tracked_download.h"

namespace runtime {

namespace {

constexpr int kWindowWidth = 480;
constexpr int kWindowHeight = 320;

void OpenWithDesktop(const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }

// One download's row; it follows the download until either goes.
class DownloadRow : public QFrame {
 public:
  DownloadRow(TrackedDownload* download, QWidget* parent)
      : QFrame(parent),
        m_download(download),
        m_name(new QLabel(this)),
        m_status(new QLabel(this)),
        m_cancel(new QPushButton(tr("Cancel"), this)),
        m_open(new QPushButton(tr("Open"), this)),
        m_showInFolder(new QPushButton(tr("Show in folder"), this)) {
    setFrameShape(QFrame::StyledPanel);
    QFont bold = m_name->font();
    bold.setBold(true);
    m_name->setFont(bold);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {m_cancel, m_open, m_showInFolder}) buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_name);
    layout->addWidget(m_status);
    layout->addLayout(buttons);

    connect(m_cancel, &QPushButton::clicked, download, &TrackedDownload::cancel);
    connect(m_open, &QPushButton::clicked, this,
            [download] { OpenWithDesktop(download->targetPath()); });
    connect(m_showInFolder, &QPushButton::clicked, this,
            [download] { OpenWithDesktop(QFileInfo(download->targetPath()).absolutePath()); });
    connect(download, &TrackedDownload::changed, this, &DownloadRow::refresh);
    connect(download, &QObject::destroyed, this, &QObject::deleteLater);
    refresh();
  }

  void focusCancel() { m_cancel->setFocus(); }

 private:
  void refresh() {
    const DownloadProgress& progress = m_download->progress();
    m_name->setText(progress.fileName);
    m_status->setText(DescribeDownload(progress));
    const bool done = progress.stage == DownloadProgress::Stage::Done;
    m_cancel->setVisible(m_download->isRunning());
    m_open->setVisible(done);
    m_showInFolder->setVisible(done);
  }

  TrackedDownload* const m_download;
  QLabel* const m_name;
  QLabel* const m_status;
  QPushButton* const m_cancel;
  QPushButton* const m_open;
  QPushButton* const m_showInFolder;
};

}  // namespace

DownloadWindow::DownloadWindow() : m_rows(new QVBoxLayout) {
  setWindowTitle(tr("Downloads"));
  // A side window: closing it neither ends the shell nor the downloads.
  setAttribute(Qt::WA_QuitOnClose, false);
  resize(kWindowWidth, kWindowHeight);
  auto* list = new QWidget;
  auto* listLayout = new QVBoxLayout(list);
  listLayout->addLayout(m_rows);
  listLayout->addStretch();
  auto* scroll = new QScrollArea(this);
  scroll->setWidgetResizable(true);
  scroll->setWidget(list);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(scroll);
}

void DownloadWindow::add(TrackedDownload* download) {
  auto* row = new DownloadRow(download, this);
  m_rows->insertWidget(0, row);
  row->focusCancel();
}

void DownloadWindow::present() {
  show();
  raise();
  activateWindow();
}

}  // namespace runtime
