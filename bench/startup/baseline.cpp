// The least a Qt WebEngine shell does: one maximised view on "request.html" in the working
// directory, whose local pages may reach the network as the shell lets them. The start-up
// benchmark reads the shell's figures against this program's.
//
//   startup_baseline               the engine's default profile, kept in memory
//   startup_baseline --persistent  storage and cache in ./cache, as the shell keeps them
#include <QApplication>
#include <QDir>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <cstring>
#include <memory>

namespace {

std::unique_ptr<QWebEngineProfile> PersistentProfile() {
  const QString folder = QDir::current().filePath(QStringLiteral("cache"));
  auto profile = std::make_unique<QWebEngineProfile>(QStringLiteral("baseline"));
  profile->setPersistentStoragePath(folder);
  profile->setCachePath(folder);
  return profile;
}

}  // namespace

int main(int argc, char* argv[]) {
  const bool persistent = argc > 1 && std::strcmp(argv[1], "--persistent") == 0;
  QApplication app(argc, argv);
  const std::unique_ptr<QWebEngineProfile> profile = persistent ? PersistentProfile() : nullptr;
  QWebEngineView view;
  if (profile) view.setPage(new QWebEnginePage(profile.get(), &view));
  view.page()->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
  view.load(QUrl::fromLocalFile(QDir::current().filePath(QStringLiteral("request.html"))));
  view.showMaximized();
  return app.exec();  // the view, and its page with it, goes before the profile
}
