// Compiled as a skin source: the framework pieces no user reaches, which only a library
// that links them sees.
#include "platform/unreached/docking.h"
#include "skin/skin_frame_wnd.h"
