#include "platform/unreached/dialog.h"

#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include "platform/qt/application.h"
#include "platform/qt/icon.h"
#include "platform/qt/look.h"
#include "platform/qt/modal_dialogs.h"
#include "platform/resources.h"
#include "platform/system.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

namespace {

constexpr INT_PTR IDCANCEL = 2;

// Dialog units: a quarter of the font's average character width across, an
// eighth of its height down.
class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    m_x = metrics.averageCharWidth();
    m_y = metrics.height();
  }
  int x(int units) const { return units * m_x / 4; }
  int y(int units) const { return units * m_y / 8; }
  QRect rect(const platform::DialogItemResource& item) const {
    return QRect(x(item.x), y(item.y), x(item.cx), y(item.cy));
  }

 private:
  int m_x;
  int m_y;
};

QWidget* MakeItem(QDialog& dialog, const platform::DialogItemResource& item) {
  const QString text = QString::fromWCharArray(item.text);
  switch (item.kind) {
    case platform::DialogItemKind::Icon: {
      auto* label = new QLabel(&dialog);
      const QIcon icon =
          platform::IconFromHandle(LoadIconW(nullptr, MAKEINTRESOURCEW(text.toUInt())));
      label->setPixmap(icon.pixmap(32, 32));
      return label;
    }
    case platform::DialogItemKind::Text:
      return new QLabel(text, &dialog);
    case platform::DialogItemKind::DefPushButton:
    case platform::DialogItemKind::PushButton: {
      auto* button = new QPushButton(text, &dialog);
      button->setDefault(item.kind == platform::DialogItemKind::DefPushButton);
      const INT_PTR result = item.id;
      QObject::connect(button, &QPushButton::clicked, &dialog,
                       [&dialog, result] { dialog.done(int(result)); });
      return button;
    }
  }
  return nullptr;
}

}  // namespace

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

INT_PTR CDialog::DoModal() {
  const platform::DialogResource* resource = platform::FindDialog(m_nIDTemplate);
  if (!resource) return -1;
  platform::EnsureApplication();
  QWidget* owner = m_pParentWnd ? reinterpret_cast<QWidget*>(m_pParentWnd->GetSafeHwnd()) : nullptr;
  QDialog dialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
  dialog.setWindowTitle(QString::fromWCharArray(resource->caption));
  platform::ApplyDialogLook(dialog);
  QFont font(QString::fromWCharArray(resource->fontFace), resource->fontPoints);
  dialog.setFont(font);
  const DialogUnits units(dialog.font());
  dialog.setFixedSize(units.x(resource->cx), units.y(resource->cy));
  for (size_t i = 0; i < resource->count; ++i) {
    if (QWidget* widget = MakeItem(dialog, resource->items[i]))
      widget->setGeometry(units.rect(resource->items[i]));
  }
  const int result = platform::RunModal(dialog, owner);
  return result == QDialog::Rejected ? IDCANCEL : result;
}
