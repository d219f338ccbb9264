#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "skin/skin_image_store.h"
#include "skin_test_support.h"

namespace {

class SkinImageStoreTest : public skin_test::FreshStoreTest {
 protected:
  void Save(const QString& name, int width = 6, int height = 4) {
    skin_test::SaveImage(m_dir.path(), name, skin_test::Filled(width, height, 0xFF336699));
  }
};

TEST_F(SkinImageStoreTest, DecodesEachNameOnceAndSharesTheImage) {
  Save("dialog\\DialogBkg.png");
  Gdiplus::Image* first = m_store->GetImage(L"dialog\\DialogBkg.png");
  ASSERT_NE(nullptr, first);
  EXPECT_EQ(6u, first->GetWidth());
  // With the file gone, a second decode would fail: the cached image answers.
  ASSERT_TRUE(QFile::remove(m_dir.filePath("dialog/DialogBkg.png")));
  EXPECT_EQ(first, m_store->GetImage(L"dialog\\DialogBkg.png"));
  EXPECT_EQ(6u, first->GetWidth());
  ASSERT_EQ(1u, m_store->m_images.size());
  EXPECT_EQ(CString(L"dialog\\DialogBkg.png"), m_store->m_images.begin()->first);
}

TEST_F(SkinImageStoreTest, NamesDifferingInCaseAreSeparateEntries) {
  Save("Button.png");
  Gdiplus::Image* upper = m_store->GetImage(L"Button.png");
  Gdiplus::Image* lower = m_store->GetImage(L"button.png");
  EXPECT_NE(upper, lower);
  EXPECT_EQ(2u, m_store->m_images.size());
  EXPECT_EQ(6u, upper->GetWidth());
  EXPECT_EQ(0u, lower->GetWidth());
}

TEST_F(SkinImageStoreTest, AMissingFileStaysMissingForTheRun) {
  Gdiplus::Image* missing = m_store->GetImage(L"late.png");
  ASSERT_NE(nullptr, missing);
  EXPECT_NE(Gdiplus::Ok, missing->GetLastStatus());
  EXPECT_EQ(0u, missing->GetWidth());
  EXPECT_EQ(0u, missing->GetHeight());
  Save("late.png");
  EXPECT_EQ(missing, m_store->GetImage(L"late.png"));
  EXPECT_EQ(0u, missing->GetWidth());
  EXPECT_EQ(nullptr, m_store->GetImage(nullptr));
}

TEST_F(SkinImageStoreTest, DestructionShutsTheLibraryDownExactlyOnce) {
  CSkinImageStore::DestroyInstance();
  const Gdiplus::LibraryCounters before = Gdiplus::GetLibraryCounters();
  CSkinImageStore* store = CSkinImageStore::GetInstance();
  EXPECT_EQ(store, CSkinImageStore::GetInstance());
  EXPECT_TRUE(store->m_images.empty());
  CSkinImageStore::DestroyInstance();
  CSkinImageStore::DestroyInstance();
  const Gdiplus::LibraryCounters after = Gdiplus::GetLibraryCounters();
  EXPECT_EQ(before.startups + 1, after.startups);
  EXPECT_EQ(before.shutdowns + 1, after.shutdowns);
}

TEST(SkinRoot, IsTheExecutablesFolderWhateverTheWorkingDirectory) {
  const QTemporaryDir elsewhere;
  char previous[4096];
  ASSERT_NE(nullptr, getcwd(previous, sizeof previous));
  ASSERT_EQ(0, chdir(elsewhere.path().toLocal8Bit().constData()));
  const CString root = CSkinImageStore::ComputeSkinRoot();
  ASSERT_EQ(0, chdir(previous));

  // Beside the executable where the skin is, as in the build tree; else in the installed data
  // folder, as for a tree that builds no skin.
  const QString folder = QFileInfo(QFileInfo("/proc/self/exe").canonicalFilePath()).path();
  const QString skinParent =
      QFileInfo::exists(folder + "/Skins/Default") ? "/" : "/../share/vintrel/";
  const QString expected = folder + skinParent + "Skins\\Default\\";
  EXPECT_EQ(expected.toStdWString(), root.str());
}

TEST(SkinRoot, KeepsDriveAndFolderOfTheModuleName) {
  struct Case {
    const wchar_t* module;
    const wchar_t* root;
  };
  const Case cases[] = {
      {L"/opt/vintrel/vintrel", L"/opt/vintrel/Skins\\Default\\"},
      {L"C:\\Program Files\\Vintrel\\vintrel.exe", L"C:\\Program Files\\Vintrel\\Skins\\Default\\"},
      {L"C:vintrel.exe", L"C:Skins\\Default\\"},
      {L"vintrel", L"Skins\\Default\\"},
      {nullptr, L"Skins\\Default\\"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(std::wstring(c.root), CSkinImageStore::SkinRootForModule(c.module).str());
}

TEST(SkinRoot, OfAnInstalledExecutableIsInTheSharedDataFolder) {
  const CString root = CSkinImageStore::InstalledSkinRootForModule(L"/usr/bin/vintrel");
  const QString path = QString::fromStdWString(root.str()).replace('\\', '/');
  EXPECT_EQ(QDir::cleanPath(path), "/usr/share/vintrel/Skins/Default");
}

}  // namespace
