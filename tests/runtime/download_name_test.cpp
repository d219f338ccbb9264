#include <QDir>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "runtime/qt/download_file.h"
#include "runtime/qt/download_name.h"

namespace runtime_test {
namespace {

using runtime::kMaxFileNameBytes;

QString Repeated(const char* text, int times) { return QString::fromUtf8(text).repeated(times); }

struct NameCase {
  const char* what;
  QString suggested;
  QString expected;
};

class DownloadNameTest : public testing::TestWithParam<NameCase> {};

TEST_P(DownloadNameTest, IsOnePlainNameTheFileSystemTakes) {
  const QString name = runtime::SafeDownloadName(GetParam().suggested);
  EXPECT_EQ(name.toStdString(), GetParam().expected.toStdString());
  EXPECT_LE(name.toUtf8().size(), kMaxFileNameBytes);
  EXPECT_FALSE(name.contains(QLatin1Char('/')));
  EXPECT_FALSE(name.startsWith(QLatin1Char('.')));
  EXPECT_FALSE(name.contains(QChar::ReplacementCharacter)) << "a character was split";
}

INSTANTIATE_TEST_SUITE_P(
    Table, DownloadNameTest,
    testing::Values(
        NameCase{"plain", "report.pdf", "report.pdf"},
        NameCase{"not_ascii", QString::fromUtf8("ünïcødé 日本語.txt"),
                 QString::fromUtf8("ünïcødé 日本語.txt")},
        NameCase{"relative_path", "../../../tmp/x.txt", "x.txt"},
        NameCase{"absolute_path", "/etc/passwd", "passwd"},
        NameCase{"windows_path", "..\\..\\boot.ini", "boot.ini"},
        NameCase{"ends_in_a_slash", "folder/", "download"},
        NameCase{"parent_only", "a/..", "download"}, NameCase{"empty", "", "download"},
        NameCase{"hidden", ".bashrc", "bashrc"},
        NameCase{"dots_and_spaces", " . .. profile ", "profile"},
        NameCase{"controls", QString::fromUtf8("bell\a esc\x1b new\nline\ttab\x7f c1\u0085.txt"),
                 "bell esc newlinetab c1.txt"},
        NameCase{"control_hides_a_dot", QString::fromUtf8("\x07.\x1b.hidden"), "hidden"},
        NameCase{"nul", QString::fromUtf8("a\0b.txt", 7), "ab.txt"},
        NameCase{"right_to_left_override", QString::fromUtf8("invoice\u202Efdp.exe"),
                 "invoicefdp.exe"},
        NameCase{"isolates", QString::fromUtf8("\u2066a\u2069\u200Fb\u200E.txt"), "ab.txt"},
        NameCase{"long_keeps_its_extension", Repeated("a", 300) + ".txt",
                 Repeated("a", kMaxFileNameBytes - 4) + ".txt"},
        NameCase{"long_in_two_byte_letters", Repeated("é", 200) + ".txt",
                 Repeated("é", 125) + ".txt"},
        NameCase{"long_in_three_byte_letters", Repeated("日", 100), Repeated("日", 85)},
        NameCase{"long_outside_the_basic_plane", Repeated("😀", 70), Repeated("😀", 63)},
        NameCase{"long_extension_is_cut_with_the_name", "a." + Repeated("b", 300),
                 "a." + Repeated("b", kMaxFileNameBytes - 2)}),
    [](const testing::TestParamInfo<NameCase>& test) { return std::string(test.param.what); });

TEST(DownloadFolderTest, FitsTheLongestNameTheFileSystemTakes) {
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  for (const QString& name : {Repeated("a", kMaxFileNameBytes), Repeated("a", 245),
                              Repeated("日", kMaxFileNameBytes / 3)}) {
    const QString folder = runtime::MakeDownloadFolder(root.filePath(name));
    ASSERT_FALSE(folder.isEmpty()) << name.size();
    EXPECT_EQ(QFileInfo(folder).dir(), QDir(root.path()));
    EXPECT_TRUE(QFileInfo(folder).fileName().startsWith(QLatin1Char('.')));
  }
}

}  // namespace
}  // namespace runtime_test
