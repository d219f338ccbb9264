#include <gtest/gtest.h>

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>
#include <QProxyStyle>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/qt/file_dialogs.h"

namespace {

// Counts what asks the style for an icon, which is not safe outside the GUI thread.
class IconCountingStyle : public QProxyStyle {
 public:
  QIcon standardIcon(StandardPixmap pixmap, const QStyleOption* option,
                     const QWidget* widget) const override {
    ++calls;
    return QProxyStyle::standardIcon(pixmap, option, widget);
  }
  mutable std::atomic<int> calls{0};
};

// The dialog's file-information thread asks its icon provider from outside the
// GUI thread; several threads at once stand in for it.
bool IconsComeWithoutTheStyle(const QAbstractFileIconProvider& icons, const QString& folder,
                              const IconCountingStyle& style) {
  const int before = style.calls;
  std::atomic<bool> allHaveIcons{true};
  std::vector<std::thread> threads;
  for (int i = 0; i < 4; ++i)
    threads.emplace_back([&] {
      for (int round = 0; round < 200; ++round)
        for (const QFileInfo& info : {QFileInfo(folder), QFileInfo(folder + "/file.txt")})
          if (icons.icon(info).isNull()) allHaveIcons = false;
    });
  for (std::thread& thread : threads) thread.join();
  return allHaveIcons && style.calls == before;
}

class FileDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_styleName = QApplication::style()->name();
    m_style = new IconCountingStyle;
    QApplication::setStyle(m_style);  // the application owns it from here
  }
  void TearDown() override { QApplication::setStyle(m_styleName); }

  // Answers the next file dialog with name once it has checked its icons.
  void AnswerNextDialog(const QString& name) {
    QTimer::singleShot(0, [this, name] {
      QPointer<QFileDialog> dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_TRUE(dialog) << "no file dialog came up";
      const QAbstractFileIconProvider* icons = dialog->iconProvider();
      ASSERT_TRUE(icons);
      EXPECT_TRUE(IconsComeWithoutTheStyle(*icons, m_folder.path(), *m_style));
      if (name.isEmpty()) {
        dialog->reject();
        return;
      }
      dialog->selectFile(name);
      QMetaObject::invokeMethod(dialog, "accept");  // as the Save button does
    });
  }

  QTemporaryDir m_folder;
  IconCountingStyle* m_style = nullptr;
  QString m_styleName;
};

TEST_F(FileDialogTest, SaveAnswersTheChosenPathAndItsIconsNeedNoStyle) {
  ASSERT_TRUE(m_folder.isValid());
  const QString target = QDir(m_folder.path()).filePath("report.bin");
  AnswerNextDialog(target);
  EXPECT_EQ(platform::AskSaveFileName(nullptr, QDir(m_folder.path()).filePath("suggested.bin")),
            target);
}

TEST_F(FileDialogTest, CancelAnswersNothing) {
  AnswerNextDialog(QString());
  EXPECT_TRUE(platform::AskOpenFileName(nullptr).isEmpty());
}

}  // namespace
