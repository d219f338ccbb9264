#include "platform/doc_template.h"

#include "platform/document.h"
#include "platform/frame_wnd.h"
#include "platform/win_app.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass,
                           const CRuntimeClass* pFrameClass, const CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource),
      m_pDocClass(pDocClass),
      m_pFrameClass(pFrameClass),
      m_pViewClass(pViewClass) {}

CDocTemplate::~CDocTemplate() = default;

CDocument* CDocTemplate::CreateNewDocument() {
  CObject* object = m_pDocClass->CreateObject();
  auto* doc = dynamic_cast<CDocument*>(object);
  if (!doc) {
    delete object;
    return nullptr;
  }
  doc->m_pDocTemplate = this;
  m_pOnlyDoc = doc;
  return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc) {
  CObject* object = m_pFrameClass->CreateObject();
  auto* frame = dynamic_cast<CFrameWnd*>(object);
  if (!frame) {
    delete object;
    return nullptr;
  }
  CCreateContext context;
  context.m_pCurrentDoc = pDoc;
  context.m_pNewViewClass = m_pViewClass;
  context.m_pNewDocTemplate = this;
  CWinApp* app = AfxGetApp();
  if (app && !app->m_pMainWnd) app->m_pMainWnd = frame;
  if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) {
    // The frame has deleted itself on the way out of its failed creation.
    if (app && app->m_pMainWnd == frame) app->m_pMainWnd = nullptr;
    return nullptr;
  }
  return frame;
}

void CDocTemplate::RemoveDocument(CDocument* pDoc) {
  if (m_pOnlyDoc == pDoc) m_pOnlyDoc = nullptr;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCWSTR lpszPathName, BOOL bMakeVisible) {
  if (CDocument* doc = m_pOnlyDoc) {
    // One document at a time: the open one is reused.
    const BOOL ok = lpszPathName ? doc->OnOpenDocument(lpszPathName) : doc->OnNewDocument();
    return ok ? doc : nullptr;
  }
  CDocument* doc = CreateNewDocument();
  if (!doc) return nullptr;
  CFrameWnd* frame = CreateNewFrame(doc);
  if (!frame) {
    RemoveDocument(doc);
    delete doc;
    return nullptr;
  }
  const BOOL ok = lpszPathName ? doc->OnOpenDocument(lpszPathName) : doc->OnNewDocument();
  if (!ok) {
    // The frame takes its views along; the document that no view shows goes too.
    frame->DestroyWindow();
    RemoveDocument(doc);
    delete doc;
    return nullptr;
  }
  frame->InitialUpdateFrame(doc, bMakeVisible);
  return doc;
}
