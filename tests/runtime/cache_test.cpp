#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QWebEnginePage>

#include <gtest/gtest.h>

#include "engine_fixture.h"
#include "runtime/qt/storage_folder.h"

namespace runtime_test {
namespace {

constexpr char kCacheFolder[] = "cache";

// Runs with a cache path relative to the working directory, the test's folder.
class CachePathTest : public EngineTest {
 protected:
  void SetUp() override {
    settings.cache_path = kCacheFolder;
    EngineTest::SetUp();
  }

  QString cacheFolder() const { return pathOf(kCacheFolder); }

  // Loads a page that stores something, so the profile has to write.
  void loadStoringPage() {
    QWebEnginePage* page = openLoadedPage(
        writeFile("store.html", "<html><script>localStorage.setItem('k', 'v');</script></html>"));
    ASSERT_TRUE(page);
    EXPECT_EQ(Evaluate(page, "localStorage.getItem('k')"), "v");
  }
};

constexpr QFile::Permissions kOwnerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

QFile::Permissions UnixPermissions(const QString& path) {
  // Qt adds the permissions of the user it runs as, which are the owner's here.
  return QFileInfo(path).permissions() & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
}

TEST_F(CachePathTest, ProfileStorageLivesInTheCacheFolderUnderTheWorkingDirectory) {
  loadStoringPage();
  EXPECT_TRUE(WaitUntil([&] { return QDir(cacheFolder()).exists("Local Storage"); }));
  EXPECT_EQ(UnixPermissions(cacheFolder()), kOwnerOnly);
}

// A cache folder from an earlier version, open for all to read.
class OpenCacheFolderTest : public CachePathTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(QDir(folder.path()).mkdir(kCacheFolder));
    ASSERT_TRUE(QFile::setPermissions(cacheFolder(), kOwnerOnly | QFile::ReadGroup |
                                                         QFile::ExeGroup | QFile::ReadOther |
                                                         QFile::ExeOther));
    CachePathTest::SetUp();
  }
};

TEST_F(OpenCacheFolderTest, IsMadePrivateAndStaysInUse) {
  loadStoringPage();
  EXPECT_EQ(UnixPermissions(cacheFolder()), kOwnerOnly);
  EXPECT_TRUE(WaitUntil([&] { return QDir(cacheFolder()).exists("Local Storage"); }));
}

// The working directory cannot hold the cache folder: a file is in its way.
// The user's cache home is a folder of the test's own.
class UnusableCachePathTest : public CachePathTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    QFile blocker(pathOf(kCacheFolder));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    m_hadCacheHome = qEnvironmentVariableIsSet(kCacheHome);
    m_previousCacheHome = qgetenv(kCacheHome);
    qputenv(kCacheHome, QFile::encodeName(cacheHome()));
    CachePathTest::SetUp();
  }
  void TearDown() override {
    CachePathTest::TearDown();
    if (m_hadCacheHome)
      qputenv(kCacheHome, m_previousCacheHome);
    else
      qunsetenv(kCacheHome);
  }

  virtual QString cacheHome() const { return pathOf("user cache"); }
  QString userCacheFolder() const {
    return runtime::UserCacheFolderFor(QDir::currentPath(),
                                       QProcessEnvironment::systemEnvironment());
  }

 private:
  static constexpr char kCacheHome[] = "XDG_CACHE_HOME";
  bool m_hadCacheHome = false;
  QByteArray m_previousCacheHome;
};

TEST_F(UnusableCachePathTest, StorageMovesToAPrivateFolderUnderTheUserCacheHome) {
  loadStoringPage();
  const QString storage = userCacheFolder();
  ASSERT_TRUE(storage.startsWith(cacheHome() + "/"));
  EXPECT_TRUE(WaitUntil([&] { return QDir(storage).exists("Local Storage"); }));
  EXPECT_EQ(QFileInfo(storage).permissions() & (QFile::ReadGroup | QFile::ReadOther), 0);
  EXPECT_FALSE(QFileInfo(cacheFolder()).isDir());
}

// The cache home cannot be made either: a file is in its way as well.
class NoWritableCacheTest : public UnusableCachePathTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    QFile blocker(cacheHome());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    UnusableCachePathTest::SetUp();
  }
  QString cacheHome() const override { return pathOf("cache home file"); }
};

TEST_F(NoWritableCacheTest, PagesStillLoadWithStorageInMemory) {
  loadStoringPage();
  EXPECT_FALSE(QFileInfo(cacheFolder()).isDir());
  EXPECT_FALSE(QFileInfo(cacheHome()).isDir());
}

QProcessEnvironment Environment(std::initializer_list<std::pair<const char*, const char*>> values) {
  QProcessEnvironment environment;
  for (const auto& [name, value] : values) environment.insert(name, value);
  return environment;
}

TEST(UserCacheFolderTest, ComesFromTheCacheHomeThenTheHomeFolderElseNowhere) {
  const struct {
    const char* what;
    QProcessEnvironment environment;
    QString expectedParent;
  } cases[] = {
      {"cache home", Environment({{"XDG_CACHE_HOME", "/c"}, {"HOME", "/h"}}), "/c/vintrel"},
      {"relative cache home ignored", Environment({{"XDG_CACHE_HOME", "c"}, {"HOME", "/h"}}),
       "/h/.cache/vintrel"},
      {"empty cache home ignored", Environment({{"XDG_CACHE_HOME", ""}, {"HOME", "/h"}}),
       "/h/.cache/vintrel"},
      {"no home", Environment({}), ""},
      {"relative home", Environment({{"HOME", "h"}}), ""},
  };
  for (const auto& c : cases) {
    const QString folder = runtime::UserCacheFolderFor("/opt/app", c.environment);
    EXPECT_EQ(folder.isEmpty() ? QString() : QFileInfo(folder).path(), c.expectedParent) << c.what;
  }
}

TEST(UserCacheFolderTest, OneFolderPerApplicationFolder) {
  const QProcessEnvironment environment = Environment({{"HOME", "/h"}});
  const auto folderOf = [&](const QString& app) {
    return runtime::UserCacheFolderFor(app, environment);
  };
  EXPECT_EQ(folderOf("/opt/a/app"), folderOf("/opt/a/app/"));
  EXPECT_EQ(folderOf("/opt/a/app"), folderOf("/opt/a/./app"));
  EXPECT_NE(folderOf("/opt/a/app"), folderOf("/opt/b/app"));
  // The name tells a person which application a folder belongs to; odd characters go.
  EXPECT_TRUE(QFileInfo(folderOf("/opt/a/my app")).fileName().startsWith("my_app-"));
}

TEST(UserCacheFolderTest, AnAppsFolderIsNamedByItsIdAlone) {
  const QString id = "org.example.App";
  EXPECT_EQ(runtime::UserCacheFolderForApp(id, Environment({{"HOME", "/h"}})),
            "/h/.cache/org.example.App");
  EXPECT_EQ(runtime::UserCacheFolderForApp(id, Environment({{"XDG_CACHE_HOME", "/c"}})),
            "/c/org.example.App");
  EXPECT_EQ(runtime::UserCacheFolderForApp(id, Environment({})), QString());
  EXPECT_EQ(runtime::UserCacheFolderForApp(QString(), Environment({{"HOME", "/h"}})), QString());
}

}  // namespace
}  // namespace runtime_test
