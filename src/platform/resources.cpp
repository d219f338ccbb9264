#include "platform/resources.h"

#include <map>

#include "platform/cstring.h"

namespace platform {
namespace {

template <class T>
const T* FindById(const T* items, size_t count, UINT id) {
  for (size_t i = 0; i < count; ++i) {
    if (items[i].id == id) return &items[i];
  }
  return nullptr;
}

std::map<UINT, std::wstring>& ReplacedStrings() {
  static std::map<UINT, std::wstring> strings;
  return strings;
}

}  // namespace

void ReplaceString(UINT id, const std::wstring& text) { ReplacedStrings()[id] = text; }

LPCWSTR FindString(UINT id) {
  if (auto it = ReplacedStrings().find(id); it != ReplacedStrings().end())
    return it->second.c_str();
  const ResourceTable& r = ApplicationResources();
  const StringResource* s = FindById(r.strings, r.stringCount, id);
  return s ? s->text : nullptr;
}

const MenuResource* FindMenu(UINT id) {
  const ResourceTable& r = ApplicationResources();
  return FindById(r.menus, r.menuCount, id);
}

const AcceleratorTableResource* FindAccelerators(UINT id) {
  const ResourceTable& r = ApplicationResources();
  return FindById(r.accelerators, r.acceleratorCount, id);
}

const DialogResource* FindDialog(UINT id) {
  const ResourceTable& r = ApplicationResources();
  return FindById(r.dialogs, r.dialogCount, id);
}

const IconResource* FindIcon(UINT id) {
  const ResourceTable& r = ApplicationResources();
  return FindById(r.icons, r.iconCount, id);
}

}  // namespace platform

BOOL CString::LoadString(UINT nID) {
  LPCWSTR text = platform::FindString(nID);
  m_str = text ? text : L"";
  return text != nullptr;
}
