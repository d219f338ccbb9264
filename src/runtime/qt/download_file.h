#pragma once

#include <QString>

namespace runtime {

// The name the data has in its folder until it is complete: short, because
// the engine writes under longer names derived from it, and the target's name
// may already be as long as the file system takes.
constexpr char kDownloadDataName[] = "data";

// A new, empty folder beside the target where the engine writes the download
// (under whatever names it uses meanwhile), so the target's name appears only
// with the whole file, and a failed download goes with its folder. Empty when
// the folder cannot be made.
QString MakeDownloadFolder(const QString& targetPath);

// Gives the complete data its target name, replacing a file the user chose to
// overwrite; on failure returns why and leaves the data where it was.
bool CommitDownload(const QString& dataPath, const QString& targetPath, QString* failure);

}  // namespace runtime
