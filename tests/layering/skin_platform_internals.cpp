// Compiled as a skin source: the platform's Qt-side internals, which the skin must not see.
#include "platform/qt/window_host.h"
#include "skin/skin_frame_wnd.h"
