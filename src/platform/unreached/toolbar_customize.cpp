#include "platform/unreached/toolbar_customize.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/frame_wnd.h"
#include "platform/qt/look.h"
#include "platform/qt/window_host.h"
#include "platform/resources.h"
#include "platform/toolbar.h"

IMPLEMENT_DYNAMIC(CMFCToolBarsCustomizeDialog, CObject)

namespace {

constexpr int kMaxUserToolbars = 10;

// A menu label as a list shows it: no access-key marks, no shortcut text.
QString CommandLabel(LPCWSTR menuText) {
  const QString text = QString::fromWCharArray(menuText).section('\t', 0, 0);
  QString label;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;  // "&&" stands for "&"
    label += text[i];
  }
  return label;
}

void FillCommands(QListWidget& list, UINT menuId) {
  const platform::MenuResource* menu = platform::FindMenu(menuId);
  if (!menu) return;
  for (size_t i = 0; i < menu->count; ++i) {
    const platform::MenuItemResource& item = menu->items[i];
    if (item.id && item.text) list.addItem(CommandLabel(item.text));
  }
}

void FillToolbars(QListWidget& list, CWnd* frame) {
  list.clear();
  auto* frameEx = dynamic_cast<CFrameWndEx*>(frame);
  if (!frameEx) return;
  for (int i = 0; i < kMaxUserToolbars; ++i) {
    if (CMFCToolBar* toolbar = frameEx->GetUserToolBarByIndex(i))
      list.addItem(QString::fromWCharArray(toolbar->GetWindowText()));
  }
}

}  // namespace

struct CMFCToolBarsCustomizeDialog::Widgets {
  QPointer<QDialog> dialog;
  QMetaObject::Connection deleteWithDialog;
  // The frame's window: a frame may go while its dialog is still up.
  QPointer<platform::WindowHost> frameHost;

  CWnd* frame() const { return frameHost ? frameHost->owner() : nullptr; }
};

CMFCToolBarsCustomizeDialog::CMFCToolBarsCustomizeDialog(CFrameWnd* pWndParentFrame,
                                                         BOOL bAutoSetFromMenus, UINT uiFlags)
    : m_pParentFrame(pWndParentFrame),
      m_bAutoSetFromMenus(bAutoSetFromMenus),
      m_uiFlags(uiFlags),
      m_pWidgets(std::make_unique<Widgets>()) {}

CMFCToolBarsCustomizeDialog::~CMFCToolBarsCustomizeDialog() {
  QObject::disconnect(m_pWidgets->deleteWithDialog);
  delete m_pWidgets->dialog;
}

BOOL CMFCToolBarsCustomizeDialog::Create() {
  if (m_pWidgets->dialog) {
    m_pWidgets->dialog->raise();
    return TRUE;
  }
  platform::WindowHost* host = m_pParentFrame ? m_pParentFrame->host() : nullptr;
  if (!host) {
    delete this;
    return FALSE;
  }
  m_pWidgets->frameHost = host;
  auto* dialog = new QDialog(host, Qt::Dialog);
  m_pWidgets->dialog = dialog;
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setWindowTitle(QStringLiteral("Customize"));
  platform::ApplyDialogLook(*dialog);
  auto* layout = new QVBoxLayout(dialog);

  if (m_bAutoSetFromMenus) {
    auto* commands = new QListWidget(dialog);
    commands->setObjectName(QStringLiteral("commands"));
    FillCommands(*commands, m_pParentFrame->GetResourceId());
    layout->addWidget(new QLabel(QStringLiteral("Commands:"), dialog));
    layout->addWidget(commands);
  }

  auto* toolbars = new QListWidget(dialog);
  toolbars->setObjectName(QStringLiteral("toolbars"));
  FillToolbars(*toolbars, m_pParentFrame);
  layout->addWidget(new QLabel(QStringLiteral("Toolbars:"), dialog));
  layout->addWidget(toolbars);

  if (m_bUserDefinedToolbars) {
    auto* name = new QLineEdit(dialog);
    name->setObjectName(QStringLiteral("toolbarName"));
    name->setPlaceholderText(QStringLiteral("Toolbar name"));
    auto* create = new QPushButton(QStringLiteral("&New"), dialog);
    create->setObjectName(QStringLiteral("newToolbar"));
    Widgets* widgets = m_pWidgets.get();
    QObject::connect(create, &QPushButton::clicked, dialog, [widgets, name, toolbars] {
      const std::wstring text = name->text().trimmed().toStdWString();
      CWnd* frame = widgets->frame();
      if (text.empty() || !frame) return;
      if (!frame->SendMessage(AFX_WM_CREATETOOLBAR, 0, reinterpret_cast<LPARAM>(text.c_str())))
        return;
      name->clear();
      FillToolbars(*toolbars, widgets->frame());
    });
    auto* row = new QHBoxLayout;
    row->addWidget(name);
    row->addWidget(create);
    layout->addLayout(row);
  }

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
  layout->addWidget(buttons);

  m_pWidgets->deleteWithDialog = QObject::connect(dialog, &QObject::destroyed, [this] {
    m_pWidgets->dialog = nullptr;  // going already
    delete this;
  });
  dialog->setModal(false);
  dialog->show();
  return TRUE;
}
