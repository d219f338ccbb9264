// Compiled as a skin source: what the skin may include.
#include "platform/wnd.h"
#include "skin/skin_frame_wnd.h"
#include "skin/skin_geometry.h"

int SkinProbe() { return skin::kCaptionHeight; }
