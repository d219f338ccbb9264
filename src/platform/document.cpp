#include "platform/document.h"

#include <QFile>
#include <QFileInfo>
#include <QString>

#include <algorithm>

#include "platform/command_ids.h"
#include "platform/doc_template.h"
#include "platform/frame_wnd.h"
#include "platform/qt/file_dialogs.h"
#include "platform/system.h"
#include "platform/view.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

namespace {

// The framework's own words for a document file that cannot be read.
CString OpenFailurePrompt(const QString& path) {
  const QFileInfo info(path);
  QString prompt;
  if (!info.exists()) {
    prompt = QStringLiteral(
                 "%1\nCannot find this file.\nPlease verify that the correct path and file name "
                 "are given.")
                 .arg(path);
  } else if (!info.isReadable()) {
    prompt = QStringLiteral("Unable to read from %1, it is opened by someone else.").arg(path);
  } else {
    prompt = QStringLiteral("Failed to open document.");
  }
  return CString(prompt.toStdWString());
}

}  // namespace

BOOL CDocument::OnNewDocument() {
  DeleteContents();
  m_strPathName.Empty();
  return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCWSTR lpszPathName) {
  // The document holds nothing: opening only checks that the file can be read.
  QFile file(QString::fromWCharArray(lpszPathName));
  if (!file.open(QIODevice::ReadOnly)) {
    AfxMessageBox(OpenFailurePrompt(file.fileName()), MB_ICONEXCLAMATION);
    return FALSE;
  }
  DeleteContents();
  m_strPathName = lpszPathName;
  return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCWSTR lpszPathName) {
  // Serializing the document writes nothing. A new file is made empty; a file
  // that exists keeps its bytes, as there is nothing to put in their place, and
  // it is never opened for writing, so not even a race can truncate it.
  const QString path = QString::fromWCharArray(lpszPathName);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) && !QFileInfo(path).isFile())
    return FALSE;
  m_strPathName = lpszPathName;
  return TRUE;
}

void CDocument::OnCloseDocument() {
  std::vector<CWnd*> frames;
  for (CView* view : m_views) {
    CWnd* frame = view->GetParent();
    if (frame && std::find(frames.begin(), frames.end(), frame) == frames.end())
      frames.push_back(frame);
  }
  for (CWnd* frame : frames) frame->DestroyWindow();
  DeleteContents();
  if (m_pDocTemplate) m_pDocTemplate->RemoveDocument(this);
  delete this;
}

void CDocument::AddView(CView* pView) {
  m_views.push_back(pView);
  pView->m_pDocument = this;
}

void CDocument::RemoveView(CView* pView) {
  m_views.erase(std::remove(m_views.begin(), m_views.end(), pView), m_views.end());
  pView->m_pDocument = nullptr;
}

BOOL CDocument::OnOwnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) {
  if (nID == ID_FILE_SAVE) {
    if (nCode == CN_COMMAND) OnFileSave();
    return TRUE;
  }
  if (nID == ID_FILE_SAVE_AS) {
    if (nCode == CN_COMMAND) OnFileSaveAs();
    return TRUE;
  }
  return CCmdTarget::OnOwnCmdMsg(nID, nCode, pCmdUI);
}

void CDocument::OnFileSave() {
  if (m_strPathName.IsEmpty()) {
    OnFileSaveAs();
  } else {
    OnSaveDocument(m_strPathName);
  }
}

void CDocument::OnFileSaveAs() {
  const CString& suggested = m_strPathName.IsEmpty() ? m_strTitle : m_strPathName;
  const QString chosen = platform::AskSaveFileName(nullptr, QString::fromWCharArray(suggested));
  if (!chosen.isEmpty()) OnSaveDocument(CString(chosen.toStdWString()));
}
