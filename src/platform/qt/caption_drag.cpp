#include "platform/qt/caption_drag.h"

namespace platform {

void CaptionDrag::press(QPoint pointer, QPoint windowPosition) {
  m_state = State::Pressed;
  m_pressPointer = pointer;
  m_grabOffset = pointer - windowPosition;
}

void CaptionDrag::release() { m_state = State::Idle; }

bool CaptionDrag::follow(QPoint pointer, int threshold) {
  if (m_state == State::Pressed && (pointer - m_pressPointer).manhattanLength() >= threshold)
    m_state = State::Following;
  return m_state == State::Following;
}

}  // namespace platform
