#include "platform/object.h"

#include "platform/cmd_target.h"

const CRuntimeClass CObject::classCObject = {"CObject", 0xFFFF, nullptr, nullptr};

const CRuntimeClass* CObject::GetRuntimeClass() const { return &classCObject; }

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
  for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass) {
    if (c == pBaseClass) return TRUE;
  }
  return FALSE;
}

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) {
  return OnOwnCmdMsg(nID, nCode, pCmdUI);
}

BOOL CCmdTarget::OnOwnCmdMsg(UINT, int, CCmdUI*) { return FALSE; }
