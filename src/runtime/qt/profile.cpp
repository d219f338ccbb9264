#include "runtime/qt/profile.h"

#include <QDir>
#include <QFileInfo>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

#include "runtime/qt/frame_errors.h"

namespace runtime {

namespace {

constexpr char kStorageName[] = "vintrel";
constexpr char kBindingScriptName[] = "vintrel-binding";
constexpr char kFrameErrorScriptName[] = "vintrel-frame-errors";

// The folder made ready for writing, or empty when that fails.
QString UsableFolder(const CefString& path) {
  if (path.empty()) return QString();
  const QString folder =
      QDir::current().absoluteFilePath(QString::fromStdU16String(path.ToString16()));
  if (!QDir().mkpath(folder)) return QString();
  const QFileInfo info(folder);
  return info.isDir() && info.isWritable() ? folder : QString();
}

QWebEngineScript DocumentScript(const char* name, const QString& source) {
  QWebEngineScript script;
  script.setName(QString::fromLatin1(name));
  script.setSourceCode(source);
  script.setInjectionPoint(QWebEngineScript::DocumentCreation);
  script.setWorldId(QWebEngineScript::MainWorld);
  script.setRunsOnSubFrames(true);
  return script;
}

}  // namespace

QWebEngineProfile* MakeProfile(const CefString& cachePath) {
  const QString folder = UsableFolder(cachePath);
  if (folder.isEmpty()) return new QWebEngineProfile;  // off the record
  auto* profile = new QWebEngineProfile(QString::fromLatin1(kStorageName));
  profile->setPersistentStoragePath(folder);
  profile->setCachePath(folder);
  return profile;
}

void InstallDocumentScripts(QWebEngineProfile& profile, const QString& bindingScript) {
  if (!bindingScript.isEmpty())
    profile.scripts()->insert(DocumentScript(kBindingScriptName, bindingScript));
  profile.scripts()->insert(DocumentScript(kFrameErrorScriptName, FrameErrorReporterScript()));
}

}  // namespace runtime
