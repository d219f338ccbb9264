#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QWebEnginePage>

#include <gtest/gtest.h>

#include "engine_fixture.h"

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

TEST_F(CachePathTest, ProfileStorageLivesInTheCacheFolderUnderTheWorkingDirectory) {
  loadStoringPage();
  EXPECT_TRUE(WaitUntil([&] { return QDir(cacheFolder()).exists("Local Storage"); }));
}

class UnusableCachePathTest : public CachePathTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    QFile blocker(pathOf(kCacheFolder));  // a file where the folder should go
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    CachePathTest::SetUp();
  }
};

TEST_F(UnusableCachePathTest, PagesStillLoadWhenTheCacheFolderCannotBeMade) {
  loadStoringPage();
  EXPECT_FALSE(QFileInfo(cacheFolder()).isDir());
}

}  // namespace
}  // namespace runtime_test
