#pragma once

// True while a file or folder named "debug" exists in the current directory. A
// current directory too long for the marker path counts as no marker.
bool DebugMarkerExists();
