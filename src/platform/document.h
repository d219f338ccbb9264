#pragma once

#include <vector>

#include "platform/cmd_target.h"
#include "platform/cstring.h"

class CDocTemplate;
class CView;

class CDocument : public CCmdTarget {
  DECLARE_DYNAMIC(CDocument)

 public:
  virtual BOOL OnNewDocument();
  virtual BOOL OnOpenDocument(LPCWSTR lpszPathName);
  virtual BOOL OnSaveDocument(LPCWSTR lpszPathName);
  virtual void OnCloseDocument();
  virtual void DeleteContents() {}

  const CString& GetTitle() const { return m_strTitle; }
  virtual void SetTitle(LPCWSTR lpszTitle) { m_strTitle = lpszTitle; }
  const CString& GetPathName() const { return m_strPathName; }
  CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

  void AddView(CView* pView);
  void RemoveView(CView* pView);
  const std::vector<CView*>& views() const { return m_views; }

 protected:
  BOOL OnOwnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) override;
  void OnFileSave();
  void OnFileSaveAs();

 private:
  CString m_strTitle;
  CString m_strPathName;
  CDocTemplate* m_pDocTemplate = nullptr;
  std::vector<CView*> m_views;

  friend class CDocTemplate;
};
