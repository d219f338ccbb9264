#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include "runtime/qt/local_file_guard.h"

namespace runtime_test {
namespace {

using Type = QWebEngineUrlRequestInfo::ResourceType;

struct GuardCase {
  const char* name;
  const char* url;  // {app} stands for the app folder, {root} for its parent
  Type type;
  bool allowed;
};

class LocalFileGuardTest : public testing::TestWithParam<GuardCase> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(root.isValid());
    ASSERT_TRUE(QDir(root.path()).mkpath("app/pages"));
    ASSERT_TRUE(QDir(root.path()).mkdir("app-twin"));
    QFile secret(root.filePath("secret.txt"));
    ASSERT_TRUE(secret.open(QIODevice::WriteOnly));
    ASSERT_TRUE(QFile::link(secret.fileName(), root.filePath("app/pages/link.txt")));
  }

  QTemporaryDir root;
};

TEST_P(LocalFileGuardTest, AllowsOnlyTheAppsOwnResources) {
  const GuardCase& c = GetParam();
  const QString app = QDir(root.path()).canonicalPath() + "/app";
  const runtime::LocalFileGuard guard(QDir(app), nullptr);
  const QUrl url(
      QString::fromLatin1(c.url).replace("{app}", app).replace("{root}", QFileInfo(app).path()));
  EXPECT_EQ(guard.allows(url, c.type), c.allowed) << url.toString().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Table, LocalFileGuardTest,
    testing::Values(
        GuardCase{"page", "file://{app}/pages/index.html", Type::ResourceTypeMainFrame, true},
        GuardCase{"script", "file://{app}/pages/app.js", Type::ResourceTypeScript, true},
        GuardCase{"style", "file://{app}/style.css", Type::ResourceTypeStylesheet, true},
        GuardCase{"image", "file://{app}/pages/a.png", Type::ResourceTypeImage, true},
        GuardCase{"frame", "file://{app}/pages/f.html", Type::ResourceTypeSubFrame, true},
        GuardCase{"missing_file", "file://{app}/missing.html", Type::ResourceTypeSubFrame, true},
        GuardCase{"fetch_own_file", "file://{app}/data.json", Type::ResourceTypeXhr, false},
        GuardCase{"frame_outside", "file://{root}/secret.txt", Type::ResourceTypeSubFrame, false},
        GuardCase{"page_outside", "file:///etc/hostname", Type::ResourceTypeMainFrame, false},
        GuardCase{"climbing_out", "file://{app}/pages/../../secret.txt", Type::ResourceTypeImage,
                  false},
        GuardCase{"twin_folder", "file://{app}-twin/x.js", Type::ResourceTypeScript, false},
        GuardCase{"link_leading_out", "file://{app}/pages/link.txt", Type::ResourceTypeSubFrame,
                  false},
        GuardCase{"web_address", "http://127.0.0.1/x", Type::ResourceTypeXhr, true},
        GuardCase{"data_address", "data:text/plain,x", Type::ResourceTypeSubFrame, true}),
    [](const testing::TestParamInfo<GuardCase>& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace runtime_test
