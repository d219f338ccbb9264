#include "runtime/qt/profile.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

#include "runtime/qt/engine_features.h"
#include "runtime/qt/frame_errors.h"
#include "runtime/qt/local_file_guard.h"
#include "runtime/qt/qt_strings.h"
#include "runtime/qt/storage_folder.h"

namespace runtime {

namespace {

constexpr char kStorageName[] = "vintrel";
constexpr char kBindingScriptName[] = "vintrel-binding";
constexpr char kFrameErrorScriptName[] = "vintrel-frame-errors";
constexpr char kDataHomeVariable[] = "XDG_DATA_HOME";

// The engine writes a named profile's first files into the application's data
// folder before the profile's own paths can be set; for that moment the data
// folder is pointed into the cache folder, so nothing lands outside it.
class DataHomeOverride {
 public:
  explicit DataHomeOverride(const QString& folder)
      : m_hadValue(qEnvironmentVariableIsSet(kDataHomeVariable)),
        m_previous(qgetenv(kDataHomeVariable)) {
    qputenv(kDataHomeVariable, QFile::encodeName(folder));
  }
  ~DataHomeOverride() {
    if (m_hadValue)
      qputenv(kDataHomeVariable, m_previous);
    else
      qunsetenv(kDataHomeVariable);
  }

 private:
  const bool m_hadValue;
  const QByteArray m_previous;
};

QWebEngineProfile* MakePersistentProfile(const QString& folder) {
  QWebEngineProfile* profile;
  {
    const DataHomeOverride dataHome(folder);
    profile = new QWebEngineProfile(QString::fromLatin1(kStorageName));
  }
  profile->setPersistentStoragePath(folder);
  profile->setCachePath(folder);
  return profile;
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
  TurnOffUnguardedWorkers();  // the file guard below does not see their loads
  // The app's id, when it named one, is the desktop file the toolkit knows it by.
  const QString folder =
      ProfileStorageFolder(ToQString(cachePath), QGuiApplication::desktopFileName());
  QWebEngineProfile* profile = folder.isEmpty() ? new QWebEngineProfile  // off the record
                                                : MakePersistentProfile(folder);
  // Local pages may embed and fetch web content, as in any Chromium browser.
  profile->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
  // That setting also opens every local file to a local page's scripts.
  auto* guard = new LocalFileGuard(QDir::currentPath(), folder, profile);
  profile->setUrlRequestInterceptor(guard);
  QObject::connect(profile, &QWebEngineProfile::downloadRequested, guard,
                   &LocalFileGuard::refuseDownloadOutside);
  return profile;
}

void InstallDocumentScripts(QWebEngineProfile& profile, const QString& bindingScript) {
  if (!bindingScript.isEmpty())
    profile.scripts()->insert(DocumentScript(kBindingScriptName, bindingScript));
  profile.scripts()->insert(DocumentScript(kFrameErrorScriptName, FrameErrorReporterScript()));
}

}  // namespace runtime
