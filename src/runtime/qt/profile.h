#pragma once

#include <QString>

#include "runtime/cef_string.h"

class QWebEngineProfile;

namespace runtime {

// The profile every browser shares, its cache and storage where
// ProfileStorageFolder puts them (storage_folder.h): for an app that names itself,
// the per-user folder of its id; otherwise cachePath (relative to the current
// directory), else a per-user folder; kept in memory when cachePath is empty or no
// folder can be written.
QWebEngineProfile* MakeProfile(const CefString& cachePath);

// Runs bindingScript, then the sub-frame failure reporter, in every document
// of every frame before the document's own scripts.
void InstallDocumentScripts(QWebEngineProfile& profile, const QString& bindingScript);

}  // namespace runtime
