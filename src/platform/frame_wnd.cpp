#include "platform/frame_wnd.h"

#include <QGuiApplication>
#include <QScreen>
#include <QString>

#include "platform/document.h"
#include "platform/qt/settings.h"
#include "platform/qt/window_host.h"
#include "platform/qt/window_placement.h"
#include "platform/resources.h"
#include "platform/toolbar.h"
#include "platform/view.h"
#include "platform/win_app.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)
IMPLEMENT_DYNCREATE(CFrameWndEx, CFrameWnd)

namespace {
constexpr DWORD AFX_WS_DEFAULT_VIEW = WS_CHILD | WS_VISIBLE | WS_BORDER;

constexpr size_t kMaxUserToolbars = 10;
constexpr UINT kFirstUserToolbarId = 0xE828;
constexpr wchar_t kUserToolbarSection[] = L"UserToolbars";
// Beside the application look, as the framework keeps its workspace state.
constexpr wchar_t kWorkspaceSection[] = L"Workspace";
constexpr wchar_t kMainWindowRectEntry[] = L"MainWindowRect";

CString UserToolbarEntry(size_t index) {
  return CString(QStringLiteral("Toolbar%1").arg(index).toStdWString());
}
}  // namespace

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                          CCreateContext* pContext) {
  m_nIDResource = nIDResource;
  CString title;
  title.LoadString(nIDResource);
  return CreateEx(0, nullptr, title, dwDefaultStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                  CW_USEDEFAULT, pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr, 0, pContext);
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
  // The title the frame shows is managed by OnUpdateFrameTitle.
  cs.style &= ~static_cast<LONG>(FWS_ADDTOTITLE);
  return TRUE;
}

CDocument* CFrameWnd::GetActiveDocument() const {
  return m_pViewActive ? m_pViewActive->GetDocument() : nullptr;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  auto* context = static_cast<CCreateContext*>(lpCreateStruct->lpCreateParams);
  if (context && context->m_pNewViewClass) {
    CWnd* view = CreateView(context);
    if (!view) return -1;
    SetActiveView(static_cast<CView*>(view));
  }
  RecalcLayout();
  return 0;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID) {
  CObject* object = pContext->m_pNewViewClass->CreateObject();
  auto* view = dynamic_cast<CView*>(object);
  if (!view) {
    delete object;
    return nullptr;
  }
  if (!view->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 0, 0), this, nID,
                    pContext)) {
    return nullptr;  // a view whose creation failed has deleted itself
  }
  return view;
}

void CFrameWnd::InitialUpdateFrame(CDocument*, BOOL bMakeVisible) {
  CView* view = GetActiveView();
  if (view) view->OnInitialUpdate();
  OnUpdateFrameTitle(TRUE);
  // The main window is shown by the application once start-up is done, so that it
  // appears once, in its final state.
  CWinApp* app = AfxGetApp();
  const bool isMainWindow = app && app->m_pMainWnd == this;
  if (bMakeVisible && !isMainWindow) ShowWindow(SW_SHOW);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL) {
  if (CDocument* doc = GetActiveDocument()) SetWindowText(doc->GetTitle());
}

void CFrameWnd::RecalcLayout() {
  if (!m_pViewActive) return;
  CRect client;
  GetClientRect(&client);
  m_pViewActive->MoveWindow(0, 0, client.Width(), client.Height());
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  if (nType != SIZE_MINIMIZED) RecalcLayout();
}

void CFrameWnd::OnClose() {
  if (CDocument* doc = GetActiveDocument()) {
    doc->OnCloseDocument();  // destroys this frame with the document's views
  } else {
    DestroyWindow();
  }
}

void CFrameWnd::PostNcDestroy() { delete this; }

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) {
  if (m_pViewActive && m_pViewActive->OnCmdMsg(nID, nCode, pCmdUI)) return TRUE;
  if (CWnd::OnCmdMsg(nID, nCode, pCmdUI)) return TRUE;
  CWinApp* app = AfxGetApp();
  return app && app->OnCmdMsg(nID, nCode, pCmdUI);
}

UINT CFrameWnd::TranslateAccelerator(UINT nVirtKey, BOOL bCtrl, BOOL bShift, BOOL bAlt) const {
  const platform::AcceleratorTableResource* table = platform::FindAccelerators(m_nIDResource);
  if (!table) return 0;
  for (size_t i = 0; i < table->count; ++i) {
    const platform::AcceleratorResource& a = table->entries[i];
    if (a.key == nVirtKey && !(a.fVirt & platform::FCONTROL) == !bCtrl &&
        !(a.fVirt & platform::FSHIFT) == !bShift && !(a.fVirt & platform::FALT) == !bAlt) {
      return a.cmd;
    }
  }
  return 0;
}

CFrameWndEx::CFrameWndEx() = default;
CFrameWndEx::~CFrameWndEx() = default;

BOOL CFrameWndEx::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                            CCreateContext* pContext) {
  if (!CFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext)) return FALSE;
  if (auto* app = dynamic_cast<CWinAppEx*>(AfxGetApp())) app->LoadState();
  LoadUserToolbars();
  RestoreWindowPlacement();
  return TRUE;
}

bool CFrameWndEx::IsMainWindow() const {
  const CWinApp* app = AfxGetApp();
  return app && app->m_pMainWnd == this;
}

void CFrameWndEx::RestoreWindowPlacement() {
  platform::WindowHost* h = host();
  if (!h || !IsMainWindow()) return;
  const QRect startWorkArea = h->screen()->availableGeometry();
  // A window given no place of its own is mapped maximised at the screen's size, and the
  // window system then restores it to that size: it always gets a place.
  QRect place = platform::DefaultPlacement(h->size(), startWorkArea, h->minimumSize());
  // Missing, or something other than a rectangle: the default place.
  const QVariant saved = platform::ReadProfileValue(kWorkspaceSection, kMainWindowRectEntry);
  if (saved.typeId() == QMetaType::QRect) {
    QList<QRect> workAreas;
    for (const QScreen* screen : QGuiApplication::screens())
      workAreas.append(screen->availableGeometry());
    const QRect restored =
        platform::RestoredPlacement(saved.toRect(), workAreas, startWorkArea, h->minimumSize());
    if (!restored.isNull()) place = restored;
  }
  h->placeRestored(place);
}

void CFrameWndEx::StoreWindowPlacement() {
  const platform::WindowHost* h = host();
  if (!h || !IsMainWindow()) return;
  // A settings file that cannot be written leaves the next run with the default place.
  platform::WriteProfileValue(kWorkspaceSection, kMainWindowRectEntry, h->restoredGeometry());
}

CMFCToolBar* CFrameWndEx::GetUserToolBarByIndex(int iIndex) const {
  if (iIndex < 0 || static_cast<size_t>(iIndex) >= m_userToolbars.size()) return nullptr;
  return m_userToolbars[static_cast<size_t>(iIndex)].get();
}

BOOL CFrameWndEx::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  // Every way the window closes destroys it: the place is kept here, whatever handles it.
  if (message == WM_DESTROY) StoreWindowPlacement();
  if (message == AFX_WM_CREATETOOLBAR) {
    *pResult = OnToolbarCreateNew(wParam, lParam);
    return TRUE;
  }
  return CFrameWnd::OnWndMsg(message, wParam, lParam, pResult);
}

LRESULT CFrameWndEx::OnToolbarCreateNew(WPARAM, LPARAM lp) {
  const auto* name = reinterpret_cast<LPCWSTR>(lp);
  if (!name || !*name) return 0;
  CMFCToolBar* toolbar = AddUserToolbar(name);
  if (toolbar) SaveUserToolbars();
  return reinterpret_cast<LRESULT>(toolbar);
}

CMFCToolBar* CFrameWndEx::AddUserToolbar(LPCWSTR lpszName) {
  if (m_userToolbars.size() >= kMaxUserToolbars) return nullptr;
  const UINT id = kFirstUserToolbarId + static_cast<UINT>(m_userToolbars.size());
  m_userToolbars.push_back(std::make_unique<CMFCToolBar>(id, lpszName));
  return m_userToolbars.back().get();
}

void CFrameWndEx::LoadUserToolbars() {
  m_userToolbars.clear();
  for (size_t i = 0; i < kMaxUserToolbars; ++i) {
    const QString name =
        platform::ReadProfileValue(kUserToolbarSection, UserToolbarEntry(i)).toString();
    if (!name.isEmpty()) AddUserToolbar(CString(name.toStdWString()));
  }
}

void CFrameWndEx::SaveUserToolbars() const {
  for (size_t i = 0; i < m_userToolbars.size(); ++i) {
    platform::WriteProfileValue(kUserToolbarSection, UserToolbarEntry(i),
                                QString::fromWCharArray(m_userToolbars[i]->GetWindowText()));
  }
}
