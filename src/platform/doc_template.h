#pragma once

#include "platform/cmd_target.h"

class CDocument;
class CFrameWnd;

class CDocTemplate : public CCmdTarget {
  DECLARE_DYNAMIC(CDocTemplate)

 public:
  CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
               const CRuntimeClass* pViewClass);
  ~CDocTemplate() override;

  // With no path: a new, empty document in a new frame. Null on failure.
  virtual CDocument* OpenDocumentFile(LPCWSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
  CDocument* CreateNewDocument();
  CFrameWnd* CreateNewFrame(CDocument* pDoc);
  void RemoveDocument(CDocument* pDoc);
  CDocument* GetDocument() const { return m_pOnlyDoc; }

 protected:
  UINT m_nIDResource;
  const CRuntimeClass* m_pDocClass;
  const CRuntimeClass* m_pFrameClass;
  const CRuntimeClass* m_pViewClass;
  CDocument* m_pOnlyDoc = nullptr;
};

class CSingleDocTemplate : public CDocTemplate {
  DECLARE_DYNAMIC(CSingleDocTemplate)

 public:
  using CDocTemplate::CDocTemplate;
  CDocument* OpenDocumentFile(LPCWSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
};
