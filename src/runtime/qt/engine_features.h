#pragma once

#include <QByteArray>

namespace runtime {

// The engine's flags with the workers that load files beside the profile's
// request interceptor turned off, besides whatever features the flags already
// turn off. The engine gives a worker whose script it fetches itself (every
// shared worker, and a dedicated one once PlzDedicatedWorker is on) a file
// loader of its own that no interceptor wraps, so the file guard could not
// hold with them on. Dedicated workers keep working, their loads going through
// their page's loaders.
QByteArray FlagsWithUnguardedWorkersOff(const QByteArray& flags);

// Turns those workers off for every page; must run before the engine starts.
void TurnOffUnguardedWorkers();

}  // namespace runtime
