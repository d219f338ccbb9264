#include "platform/qt/key_translation.h"

#include "platform/frame_wnd.h"
#include "platform/resources.h"

namespace platform {
namespace {

// Windows virtual-key codes of the keys accelerator tables use; 0 for others.
UINT VirtualKey(int qtKey) {
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + (qtKey - Qt::Key_A);
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return 0x70 + (qtKey - Qt::Key_F1);
  switch (qtKey) {
    case Qt::Key_Backspace:
      return VK_BACK;
    case Qt::Key_Insert:
      return VK_INSERT;
    case Qt::Key_Delete:
      return VK_DELETE;
    default:
      return 0;
  }
}

}  // namespace

UINT AcceleratorCommand(const CFrameWnd& frame, const QKeyEvent& event) {
  const UINT key = VirtualKey(event.key());
  if (!key) return 0;
  const Qt::KeyboardModifiers mods = event.modifiers();
  return frame.TranslateAccelerator(key, mods.testFlag(Qt::ControlModifier),
                                    mods.testFlag(Qt::ShiftModifier),
                                    mods.testFlag(Qt::AltModifier));
}

}  // namespace platform
