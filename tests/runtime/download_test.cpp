#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <functional>

#include "engine_fixture.h"

namespace runtime_test {
namespace {

constexpr char kContent[] = "Hello download";
constexpr char kSuggestedName[] = "hello.txt";

class DownloadTest : public EngineTest {
 protected:
  // Starts a download from a page and answers the save dialog with answer,
  // which gets the dialog and the path the user would pick.
  void downloadAndAnswer(const std::function<void(QFileDialog&, const QString&)>& answer) {
    QWebEnginePage* page = openLoadedPage(writeFile("page.html", "<html></html>"));
    ASSERT_TRUE(page);
    QTimer answering;
    QObject::connect(&answering, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      answering.stop();
      dialogFileName = dialog->selectedFiles().value(0);
      answer(*dialog, chosenPath());
    });
    answering.start(50);
    page->download(
        QUrl(QString("data:application/octet-stream;base64,") + QByteArray(kContent).toBase64()),
        kSuggestedName);
    ASSERT_TRUE(WaitUntil([&] { return !answering.isActive(); }));
  }

  QString chosenPath() const { return pathOf("chosen/saved.txt"); }

  QString dialogFileName;
};

TEST_F(DownloadTest, AcceptedSaveDialogPutsTheWholeFileWhereTheUserChose) {
  ASSERT_TRUE(QDir(folder.path()).mkdir("chosen"));
  downloadAndAnswer([](QFileDialog& dialog, const QString& path) {
    // Typed, as a user would: the dialog's own selection may still be settling.
    auto* fileName = dialog.findChild<QLineEdit*>("fileNameEdit");
    ASSERT_TRUE(fileName);
    fileName->setText(path);
    static_cast<QDialog&>(dialog).accept();  // as the Save button does
  });
  EXPECT_EQ(client->suggestedNames, std::vector<std::string>{kSuggestedName});
  EXPECT_TRUE(dialogFileName.endsWith(kSuggestedName)) << dialogFileName.toStdString();

  QFile saved(chosenPath());
  EXPECT_TRUE(WaitUntil([&] { return saved.size() == qint64(sizeof(kContent) - 1); }));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(saved.readAll(), QByteArray(kContent));
}

TEST_F(DownloadTest, CancelledSaveDialogWritesNothing) {
  downloadAndAnswer([](QFileDialog& dialog, const QString&) { dialog.reject(); });
  EXPECT_EQ(client->suggestedNames.size(), 1u);
  QTest::qWait(500);  // a download would have landed by now
  EXPECT_FALSE(QFile::exists(chosenPath()));
  EXPECT_FALSE(QFile::exists(pathOf(kSuggestedName)));
}

TEST_F(DownloadTest, AFolderThatCannotBeWrittenShowsTheFailureAndWritesNothing) {
  ASSERT_TRUE(QFile(pathOf("blocker")).open(QIODevice::WriteOnly));  // a file, not a folder
  const QString impossible = pathOf("blocker/saved.txt");
  downloadAndAnswer([&](QFileDialog& dialog, const QString&) {
    auto* fileName = dialog.findChild<QLineEdit*>("fileNameEdit");
    ASSERT_TRUE(fileName);
    fileName->setText(impossible);
    static_cast<QDialog&>(dialog).accept();
  });
  QLabel* status = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    for (QWidget* window : QApplication::topLevelWidgets())
      for (QLabel* label : window->findChildren<QLabel*>())
        if (label->text().startsWith("Failed: ")) status = label;
    return status != nullptr;
  }));
  EXPECT_TRUE(status->text().contains(pathOf("blocker"))) << status->text().toStdString();
  EXPECT_TRUE(status->isVisible());
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
            (QStringList{"blocker", "page.html"}));
}

}  // namespace
}  // namespace runtime_test
