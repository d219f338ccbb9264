#include "platform/qt/look.h"

#include <QGuiApplication>
#include <QMenu>
#include <QToolTip>

namespace platform {
namespace {

const LookColors& CurrentColors() { return CMFCVisualManager::GetInstance()->GetLookColors(); }

QString Css(LookColor color) { return ColorOf(color).name(QColor::HexRgb); }

// Halfway between text and background: legible, yet plainly unavailable.
QColor DisabledText(const LookColors& c) {
  const QColor text = ColorOf(c.menuText);
  const QColor back = ColorOf(c.menuBack);
  return QColor((text.red() + back.red()) / 2, (text.green() + back.green()) / 2,
                (text.blue() + back.blue()) / 2);
}

}  // namespace

QColor ColorOf(LookColor color) { return QColor::fromRgb(static_cast<QRgb>(color)); }

QString PopupMenuStyleSheet() {
  const LookColors& c = CurrentColors();
  return QStringLiteral(
             "QMenu { background-color: %1; color: %2; border: 1px solid %3; padding: 2px; }"
             "QMenu::item { background-color: transparent; padding: 4px 24px 4px 20px; }"
             "QMenu::item:selected { background-color: %4; color: %5; }"
             "QMenu::item:disabled { color: %6; }"
             "QMenu::separator { height: 1px; background: %3; margin: 3px 6px; }")
      .arg(Css(c.menuBack), Css(c.menuText), Css(c.menuBorder), Css(c.menuHighlight),
           Css(c.menuHighlightText), DisabledText(c).name(QColor::HexRgb));
}

void ApplyPopupMenuLook(QMenu& menu) { menu.setStyleSheet(PopupMenuStyleSheet()); }

QPalette DialogPalette() {
  const LookColors& c = CurrentColors();
  QPalette palette;
  palette.setColor(QPalette::Window, ColorOf(c.dialogBack));
  palette.setColor(QPalette::WindowText, ColorOf(c.dialogText));
  palette.setColor(QPalette::Button, ColorOf(c.buttonFace));
  palette.setColor(QPalette::ButtonText, ColorOf(c.buttonText));
  palette.setColor(QPalette::Text, ColorOf(c.dialogText));
  palette.setColor(QPalette::ToolTipBase, ColorOf(c.toolTipBack));
  palette.setColor(QPalette::ToolTipText, ColorOf(c.toolTipText));
  return palette;
}

void ApplyDialogLook(QWidget& dialog) {
  dialog.setPalette(DialogPalette());
  dialog.setAutoFillBackground(true);
}

void ApplyToolTipLook(const LookColors& colors) {
  if (!QGuiApplication::instance()) return;
  QPalette palette = QToolTip::palette();
  palette.setColor(QPalette::ToolTipBase, ColorOf(colors.toolTipBack));
  palette.setColor(QPalette::ToolTipText, ColorOf(colors.toolTipText));
  QToolTip::setPalette(palette);
}

}  // namespace platform
