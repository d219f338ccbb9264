#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include "runtime/qt/local_file_guard.h"

namespace runtime_test {
namespace {

// Enough separators that the path is longer than the system takes whole.
constexpr int kManySeparators = 4200;
// Longer than the system takes for one name.
constexpr int kLongName = 300;

struct GuardCase {
  const char* name;
  const char* url;  // {app} stands for the app folder, {root} for its parent, {many} for
                    // kManySeparators separators, {long} for a name of kLongName letters
  bool allowed;
};

// {root}/secret.txt, {root}/outside/secret.txt and, in {root}/app: pages/index.html,
// cache/Cookies (the profile's storage), links to the secret, to the outside folder, to
// itself, to nowhere, and one that stays inside.
class LocalFileGuardTest : public testing::TestWithParam<GuardCase> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(root.isValid());
    QDir top(root.path());
    ASSERT_TRUE(top.mkpath("app/pages") && top.mkpath("app/cache") && top.mkpath("outside") &&
                top.mkdir("app-twin"));
    for (const char* file : {"secret.txt", "outside/secret.txt", "app/pages/index.html",
                             "app/cache/Cookies", "app/cache-notes.txt"}) {
      QFile made(root.filePath(file));
      ASSERT_TRUE(made.open(QIODevice::WriteOnly));
    }
    const QString app = root.filePath("app");
    ASSERT_TRUE(QFile::link(root.filePath("secret.txt"), app + "/pages/link.txt"));
    ASSERT_TRUE(QFile::link(root.filePath("outside"), app + "/folder-link"));
    ASSERT_TRUE(QFile::link(app + "/pages/index.html", app + "/inner-link.html"));
    ASSERT_TRUE(QFile::link(app + "/loop", app + "/loop"));
    ASSERT_TRUE(QFile::link(root.filePath("not-yet.txt"), app + "/dangling.txt"));
  }

  QTemporaryDir root;
};

TEST_P(LocalFileGuardTest, AllowsOnlyFilesInsideTheAppFolderOnceResolved) {
  const GuardCase& c = GetParam();
  const QString top = QDir(root.path()).canonicalPath();
  const QString app = top + "/app";
  const runtime::LocalFileGuard guard(app, app + "/cache", nullptr);
  const QUrl url(QString::fromLatin1(c.url)
                     .replace("{app}", app)
                     .replace("{root}", top)
                     .replace("{many}", QString(kManySeparators, '/'))
                     .replace("{long}", QString(kLongName, 'a')));
  EXPECT_EQ(guard.allows(url), c.allowed) << url.toString().left(300).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Table, LocalFileGuardTest,
    testing::Values(
        GuardCase{"own_file", "file://{app}/pages/index.html", true},
        GuardCase{"own_folder", "file://{app}/", true},
        GuardCase{"missing_own_file", "file://{app}/pages/missing.html", true},
        GuardCase{"link_staying_inside", "file://{app}/inner-link.html", true},
        GuardCase{"name_beside_storage", "file://{app}/cache-notes.txt", true},
        GuardCase{"localhost", "file://localhost{app}/pages/index.html", true},
        GuardCase{"encoded_name", "file://{app}/pages/%69ndex.html", true},
        GuardCase{"many_separators_to_own_file", "file://{app}{many}pages/index.html", true},
        GuardCase{"outside", "file://{root}/secret.txt", false},
        GuardCase{"system_file", "file:///etc/hostname", false},
        GuardCase{"root_folder", "file:///", false},
        GuardCase{"climbing_out", "file://{app}/pages/../../secret.txt", false},
        GuardCase{"twin_folder", "file://{app}-twin/", false},
        GuardCase{"file_link_out", "file://{app}/pages/link.txt", false},
        GuardCase{"folder_link_out", "file://{app}/folder-link/secret.txt", false},
        GuardCase{"many_separators_to_link", "file://{app}{many}pages/link.txt", false},
        GuardCase{"name_too_long", "file://{app}/pages/{long}", false},
        GuardCase{"link_loop", "file://{app}/loop/index.html", false},
        GuardCase{"link_to_nowhere", "file://{app}/dangling.txt", false},
        GuardCase{"missing_folder", "file://{app}/nowhere/deeper/index.html", true},
        GuardCase{"missing_folder_past_a_link_out", "file://{app}/folder-link/nowhere/x", false},
        GuardCase{"missing_folder_then_climb", "file://{app}/nowhere/%2E%2E/%2E%2E/secret.txt",
                  false},
        GuardCase{"encoded_link_name", "file://{app}/pages/%6Cink.txt", false},
        GuardCase{"encoded_climb", "file://{app}/pages/%2E%2E/%2E%2E/secret.txt", false},
        GuardCase{"encoded_separator", "file://{app}/pages%2F..%2F..%2Fsecret.txt", false},
        GuardCase{"encoded_nul", "file://{app}/pages/index.html%00.png", false},
        GuardCase{"localhost_outside", "file://localhost{root}/secret.txt", false},
        GuardCase{"other_host", "file://example.com{app}/pages/index.html", false},
        GuardCase{"storage_folder", "file://{app}/cache/", false},
        GuardCase{"storage_file", "file://{app}/cache/Cookies", false},
        GuardCase{"web_address", "http://127.0.0.1/x", true},
        GuardCase{"data_address", "data:text/plain,x", true}),
    [](const testing::TestParamInfo<GuardCase>& test) { return std::string(test.param.name); });

TEST(LocalFileGuard, RefusesEveryFileWhenTheAppFolderCannotBeResolved) {
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  const runtime::LocalFileGuard guard(root.filePath("gone"), QString(), nullptr);
  EXPECT_FALSE(guard.allows(QUrl::fromLocalFile(root.filePath("gone/index.html"))));
  EXPECT_FALSE(guard.allows(QUrl::fromLocalFile(root.path())));
}

}  // namespace
}  // namespace runtime_test
