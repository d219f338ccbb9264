#include "platform/unreached/wait_cursor.h"

#include <QCursor>
#include <QGuiApplication>

CWaitCursor::CWaitCursor() : m_bShown(QGuiApplication::instance() != nullptr) {
  if (m_bShown) QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

CWaitCursor::~CWaitCursor() {
  if (m_bShown && QGuiApplication::instance()) QGuiApplication::restoreOverrideCursor();
}
