#pragma once

#include "platform/document.h"

// The document only gives the template something to open; all content is the
// embedded browser's.
class CVintrelDoc : public CDocument {
  DECLARE_DYNCREATE(CVintrelDoc)

 public:
  BOOL OnNewDocument() override;
};
