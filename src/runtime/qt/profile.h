#pragma once

#include <QString>

#include "runtime/cef_string.h"

class QWebEngineProfile;

namespace runtime {

// The profile every browser shares: its cache and storage in cachePath
// (relative to the current directory), in a per-user folder when that cannot be
// written, or kept in memory when cachePath is empty or no folder can be.
QWebEngineProfile* MakeProfile(const CefString& cachePath);

// Runs bindingScript, then the sub-frame failure reporter, in every document
// of every frame before the document's own scripts.
void InstallDocumentScripts(QWebEngineProfile& profile, const QString& bindingScript);

}  // namespace runtime
