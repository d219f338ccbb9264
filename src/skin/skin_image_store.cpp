#include "skin/skin_image_store.h"

#include <new>
#include <string>

#include "platform/system.h"

namespace {

constexpr const wchar_t* kSkinFolder = L"Skins\\Default\\";
// Where an installed executable's data folder is, relative to its own folder.
constexpr const wchar_t* kDataFolderFromExecutable = L"" VINTREL_DATA_DIR_FROM_BIN L"/";

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// Drive ("C:") and directory of a file name, the directory keeping its trailing
// separator.
std::wstring FolderOf(LPCWSTR modulePath) {
  const std::wstring path = modulePath ? modulePath : L"";
  const size_t driveLength = path.size() >= 2 && path[1] == L':' ? 2 : 0;
  size_t folderEnd = driveLength;
  for (size_t i = driveLength; i < path.size(); ++i) {
    if (IsSeparator(path[i])) folderEnd = i + 1;
  }
  return path.substr(0, folderEnd);
}

// Skin names keep their backslashes; the file system wants slashes.
std::wstring FileSystemName(const CString& name) {
  std::wstring path = name.str();
  for (wchar_t& c : path) {
    if (c == L'\\') c = L'/';
  }
  return path;
}

}  // namespace

CSkinImageStore* CSkinImageStore::s_pInstance = nullptr;

CSkinImageStore* CSkinImageStore::GetInstance() {
  if (!s_pInstance) s_pInstance = new CSkinImageStore;
  return s_pInstance;
}

void CSkinImageStore::DestroyInstance() {
  delete s_pInstance;
  s_pInstance = nullptr;
}

CString CSkinImageStore::ComputeSkinRoot() {
  WCHAR modulePath[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, modulePath, MAX_PATH);
  // A name that does not fit is cut at MAX_PATH characters.
  modulePath[length < MAX_PATH ? length : MAX_PATH - 1] = L'\0';
  const CString beside = SkinRootForModule(modulePath);
  if (PathFileExistsW(FileSystemName(beside).c_str())) return beside;
  return InstalledSkinRootForModule(modulePath);
}

CString CSkinImageStore::SkinRootForModule(LPCWSTR modulePath) {
  return CString(FolderOf(modulePath) + kSkinFolder);
}

CString CSkinImageStore::InstalledSkinRootForModule(LPCWSTR modulePath) {
  return CString(FolderOf(modulePath) + kDataFolderFromExecutable + kSkinFolder);
}

CSkinImageStore::CSkinImageStore() {
  const Gdiplus::GdiplusStartupInput input;
  // Drawing fails later, image by image, if the library did not start.
  Gdiplus::GdiplusStartup(&m_gdiplusToken, &input, nullptr);
}

CSkinImageStore::~CSkinImageStore() {
  for (auto& entry : m_images) delete entry.second;
  m_images.clear();
  Gdiplus::GdiplusShutdown(m_gdiplusToken);
}

Gdiplus::Image* CSkinImageStore::GetImage(LPCWSTR name) {
  if (!name) return nullptr;
  const CString key(name);
  const auto cached = m_images.find(key);
  if (cached != m_images.end()) return cached->second;
  const CString path = m_strSkinRoot + key;
  Gdiplus::Image* image = new (std::nothrow) Gdiplus::Bitmap(path, FALSE);
  m_images.emplace(key, image);
  return image;
}
