#include "mainwnd/vintrel_doc.h"

IMPLEMENT_DYNCREATE(CVintrelDoc, CDocument)

BOOL CVintrelDoc::OnNewDocument() {
  if (!CDocument::OnNewDocument()) return FALSE;
  SetTitle(L"lumerock");
  return TRUE;
}
