#pragma once

#include <QByteArray>

namespace runtime {

// The engine's flags with shared workers turned off, besides whatever Blink
// features they already turn off. A shared worker of a local page loads files
// through loaders of its own, which the profile's request interceptor never
// sees, so the file guard could not hold with them on.
QByteArray FlagsWithSharedWorkersOff(const QByteArray& flags);

// Turns shared workers off for every page; must run before the engine starts.
void TurnOffSharedWorkers();

}  // namespace runtime
