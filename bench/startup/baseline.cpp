// The least a Qt WebEngine shell does: one maximised view on "request.html" in the working
// directory. The start-up benchmark reads the shell's figures against this program's.
#include <QApplication>
#include <QDir>
#include <QUrl>
#include <QWebEngineView>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWebEngineView view;
  view.load(QUrl::fromLocalFile(QDir::current().filePath(QStringLiteral("request.html"))));
  view.showMaximized();
  return app.exec();
}
