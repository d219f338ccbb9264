#pragma once

#include <QProcessEnvironment>
#include <QString>

namespace runtime {

// The per-user folder that holds the profile of the application started in
// appFolder (its working directory) when appFolder itself cannot: under
// $XDG_CACHE_HOME (an absolute path), else ~/.cache, one sub-folder per
// application folder. Empty when the environment names no such place.
QString UserCacheFolderFor(const QString& appFolder, const QProcessEnvironment& environment);

// Where the profile keeps its cache and storage, made ready for writing and
// private to the user: cachePath under the working directory, else the
// per-user folder above; empty when neither can be, and the profile then
// lives in memory.
QString ProfileStorageFolder(const QString& cachePath);

}  // namespace runtime
