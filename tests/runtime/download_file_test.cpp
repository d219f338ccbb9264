#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "runtime/qt/download_file.h"
#include "runtime/qt/download_progress.h"

namespace runtime_test {
namespace {

using runtime::DownloadProgress;

bool Write(const QString& path, const QByteArray& data) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

QByteArray Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class DownloadFileTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(root.isValid()); }
  QTemporaryDir root;
};

TEST_F(DownloadFileTest, EachDownloadGetsANewFolderBesideItsTarget) {
  const QString target = root.filePath("report.pdf");
  const QString first = runtime::MakeDownloadFolder(target);
  const QString second = runtime::MakeDownloadFolder(target);
  ASSERT_FALSE(first.isEmpty());
  EXPECT_NE(first, second);
  EXPECT_EQ(QFileInfo(first).dir(), QFileInfo(target).dir());  // one file system: rename works
  EXPECT_TRUE(QDir(first).isEmpty());
  EXPECT_FALSE(QFileInfo::exists(target));
  EXPECT_TRUE(runtime::MakeDownloadFolder(root.filePath("missing/report.pdf")).isEmpty());
}

TEST_F(DownloadFileTest, CommitReplacesTheTargetOrKeepsTheDataAndSaysWhy) {
  const QString data = root.filePath("data");
  const QString target = root.filePath("report.pdf");
  ASSERT_TRUE(Write(data, "new"));
  ASSERT_TRUE(Write(target, "old"));  // the user chose to overwrite it
  QString why;
  EXPECT_TRUE(runtime::CommitDownload(data, target, &why));
  EXPECT_EQ(Read(target), "new");
  EXPECT_FALSE(QFileInfo::exists(data));

  ASSERT_TRUE(Write(data, "again"));
  EXPECT_FALSE(runtime::CommitDownload(data, root.filePath("gone/report.pdf"), &why));
  EXPECT_FALSE(why.isEmpty());
  EXPECT_EQ(Read(data), "again");
}

struct DescriptionCase {
  const char* name;
  DownloadProgress progress;
  const char* expected;
};

class DownloadDescriptionTest : public testing::TestWithParam<DescriptionCase> {};

TEST_P(DownloadDescriptionTest, SaysHowFarItIsOrHowItEnded) {
  EXPECT_EQ(runtime::DescribeDownload(GetParam().progress).toStdString(), GetParam().expected);
}

DownloadProgress Progress(qint64 received, qint64 total, qint64 speed,
                          DownloadProgress::Stage stage = DownloadProgress::Stage::Running,
                          const char* failure = "") {
  return DownloadProgress{"f.bin", received, total, speed, stage, failure};
}

INSTANTIATE_TEST_SUITE_P(
    Table, DownloadDescriptionTest,
    testing::Values(
        DescriptionCase{"known_size", Progress(1536, 10 * 1024 * 1024, 512),
                        "1.5 kB of 10.0 MB, 512 bytes/s"},
        DescriptionCase{"unknown_size", Progress(2048, -1, 1024),
                        "2.0 kB of unknown size, 1.0 kB/s"},
        DescriptionCase{"done", Progress(4096, 4096, 0, DownloadProgress::Stage::Done),
                        "Done, 4.0 kB"},
        DescriptionCase{"failed",
                        Progress(10, 20, 0, DownloadProgress::Stage::Failed, "Network error"),
                        "Failed: Network error. Nothing was saved under this name."},
        DescriptionCase{"cancelled", Progress(10, 20, 0, DownloadProgress::Stage::Cancelled),
                        "Cancelled. Nothing was saved."}),
    [](const testing::TestParamInfo<DescriptionCase>& test) {
      return std::string(test.param.name);
    });

}  // namespace
}  // namespace runtime_test
