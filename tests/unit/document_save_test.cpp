#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/command_ids.h"
#include "platform/document.h"
#include "platform/win_messages.h"

namespace {

constexpr char kUserBytes[] = "the user's notes\n";

class DocumentSaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_folder.isValid());
    m_notes = m_folder.filePath("notes.txt");
    QFile notes(m_notes);
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write(kUserBytes);
  }

  static QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
  }

  static CString Native(const QString& path) { return CString(path.toStdWString()); }

  QTemporaryDir m_folder;
  QString m_notes;
  CDocument m_document;
};

// The document holds no data, so saving has nothing to put in place of a file's bytes.
TEST_F(DocumentSaveTest, SavingKeepsAnExistingFileAndMakesANewOneEmpty) {
  const QString link = m_folder.filePath("link.txt");
  ASSERT_TRUE(QFile::link(m_notes, link));
  struct Case {
    const char* what;
    QString path;
    BOOL saved;
    QByteArray bytesAfter;
  } const cases[] = {
      {"an existing file", m_notes, TRUE, kUserBytes},
      {"a link to one", link, TRUE, kUserBytes},
      {"a new file", m_folder.filePath("new.txt"), TRUE, ""},
      {"a folder", m_folder.path(), FALSE, "<unreadable>"},
      {"a file in a missing folder", m_folder.filePath("missing/new.txt"), FALSE, "<unreadable>"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(m_document.OnSaveDocument(Native(c.path)), c.saved) << c.what;
    EXPECT_EQ(Bytes(c.path), c.bytesAfter) << c.what;
    if (c.saved) {
      EXPECT_EQ(QString::fromWCharArray(m_document.GetPathName()), c.path) << c.what;
    }
  }
  EXPECT_EQ(Bytes(m_notes), kUserBytes);
}

TEST_F(DocumentSaveTest, TheSaveCommandAfterOpeningAFileLeavesItsBytes) {
  ASSERT_TRUE(m_document.OnOpenDocument(Native(m_notes)));
  EXPECT_TRUE(m_document.OnCmdMsg(ID_FILE_SAVE, CN_COMMAND, nullptr));
  EXPECT_EQ(Bytes(m_notes), kUserBytes);
  EXPECT_EQ(QFileInfo(m_notes).size(), qint64(sizeof kUserBytes - 1));
}

}  // namespace
