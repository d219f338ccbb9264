#pragma once

#include <QKeyEvent>

#include "platform/win_types.h"

class CFrameWnd;

namespace platform {

// The command the frame's accelerator table gives a key press, 0 for none.
UINT AcceleratorCommand(const CFrameWnd& frame, const QKeyEvent& event);

}  // namespace platform
