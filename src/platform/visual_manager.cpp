#include "platform/visual_manager.h"

#include <memory>

#include "platform/qt/look.h"

IMPLEMENT_DYNCREATE(CMFCVisualManager, CObject)

namespace {

// The plain palette: menu back, text, highlight, highlight text, border; dialog
// back, text; button face, text; tooltip back, text.
constexpr LookColors kWindows2000 = {0xD4D0C8, 0x000000, 0x0A246A, 0xFFFFFF, 0x808080, 0xD4D0C8,
                                     0x000000, 0xD4D0C8, 0x000000, 0xFFFFE1, 0x000000};

std::unique_ptr<CMFCVisualManager>& Instance() {
  static std::unique_ptr<CMFCVisualManager> instance;
  return instance;
}

void MakeInstance(const CRuntimeClass* pRTI) {
  std::unique_ptr<CObject> object(pRTI->CreateObject());
  auto* manager = dynamic_cast<CMFCVisualManager*>(object.get());
  if (!manager) return;
  object.release();
  Instance().reset(manager);
  platform::ApplyToolTipLook(manager->GetLookColors());
}

}  // namespace

CMFCVisualManager::CMFCVisualManager() : m_colors(kWindows2000) {}
CMFCVisualManager::CMFCVisualManager(const LookColors& colors) : m_colors(colors) {}

void CMFCVisualManager::SetDefaultManager(const CRuntimeClass* pRTI) {
  if (!pRTI) pRTI = RUNTIME_CLASS(CMFCVisualManager);
  if (!pRTI->IsDerivedFrom(RUNTIME_CLASS(CMFCVisualManager))) return;
  MakeInstance(pRTI);
}

CMFCVisualManager* CMFCVisualManager::GetInstance() {
  if (!Instance()) MakeInstance(RUNTIME_CLASS(CMFCVisualManager));
  return Instance().get();
}

void CMFCVisualManager::DestroyInstance() { Instance().reset(); }
