#pragma once

#include <map>

#include "platform/cstring.h"
#include "platform/gdiplus.h"

// The process-wide owner of every skin image. It starts the drawing library
// while it exists, decodes each file once and hands out the same image for
// every request of the same name until it is destroyed.
class CSkinImageStore {
 public:
  // The store, created on first use.
  static CSkinImageStore* GetInstance();
  // Destroys the store (if any): every image, then the drawing library.
  static void DestroyInstance();
  // "Skins\Default\" in the folder of the running executable where that
  // exists, else in the data folder of an installed executable.
  static CString ComputeSkinRoot();
  // The skin root beside an executable of the given full file name.
  static CString SkinRootForModule(LPCWSTR modulePath);
  // The skin root in the installed data folder of such an executable.
  static CString InstalledSkinRootForModule(LPCWSTR modulePath);

  // The image of a name relative to the skin root. Missing or undecodable
  // files give an image of size 0 that draws nothing; it is cached like any
  // other, so the file is not tried again. Null only when out of memory or for
  // a null name.
  Gdiplus::Image* GetImage(LPCWSTR name);

  // Keys are the names exactly as requested, compared code unit by code unit.
  std::map<CString, Gdiplus::Image*> m_images;
  // Ends with a separator; empty until start-up assigns it.
  CString m_strSkinRoot;
  ULONG_PTR m_gdiplusToken = 0;

 private:
  CSkinImageStore();
  ~CSkinImageStore();
  CSkinImageStore(const CSkinImageStore&) = delete;
  CSkinImageStore& operator=(const CSkinImageStore&) = delete;

  static CSkinImageStore* s_pInstance;
};
