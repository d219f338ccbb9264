#pragma once

#include <QProcessEnvironment>
#include <QString>

namespace runtime {

// The per-user folder that holds the profile of the application started in
// appFolder (its working directory) when appFolder itself cannot: under
// $XDG_CACHE_HOME (an absolute path), else ~/.cache, one sub-folder per
// application folder. Empty when the environment names no such place.
QString UserCacheFolderFor(const QString& appFolder, const QProcessEnvironment& environment);

// The per-user folder of the app with the given id, wherever it is installed:
// under the cache home as above, named by the id alone. Empty when the
// environment names no cache home.
QString UserCacheFolderForApp(const QString& appId, const QProcessEnvironment& environment);

// Where the profile keeps its cache and storage, made ready for writing and
// private to the user. An app with an id keeps it in its per-user folder;
// otherwise cachePath under the working directory, else the per-user folder of
// the working directory. Empty when cachePath is empty or that cannot be
// written, and the profile then lives in memory.
QString ProfileStorageFolder(const QString& cachePath, const QString& appId);

}  // namespace runtime
