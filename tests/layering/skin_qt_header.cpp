// Compiled as a skin source: a Qt header, which the skin must not see.
#include <QString>

#include "skin/skin_frame_wnd.h"

QString SkinProbe() { return QString(); }
