#pragma once

#include <QPoint>

namespace platform {

// A press on the caption until its release. Once the pointer has moved past the
// drag threshold with the button held, the window follows the pointer and keeps
// the point that was pressed under it, as the system's own move loop does. The
// window's place comes from the pointer's position alone, never from where the
// window is now, so motion that arrives late or bunched still ends exactly.
class CaptionDrag {
 public:
  void press(QPoint pointer, QPoint windowPosition);
  void release();
  bool pressed() const { return m_state != State::Idle; }
  bool following() const { return m_state == State::Following; }
  // Starts following once the pointer is `threshold` pixels or more from the
  // press (Manhattan distance); true while it follows.
  bool follow(QPoint pointer, int threshold);
  // Where the window goes for the pointer at `pointer`.
  QPoint windowPositionFor(QPoint pointer) const { return pointer - m_grabOffset; }

 private:
  enum class State { Idle, Pressed, Following };
  State m_state = State::Idle;
  QPoint m_pressPointer;
  QPoint m_grabOffset;  // the pressed point, from the window's top-left
};

}  // namespace platform
