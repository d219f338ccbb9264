#include "platform/app_identity.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include "platform/command_ids.h"
#include "platform/qt/icon.h"
#include "platform/resources.h"

namespace platform {

namespace {

// A manifest is a few hundred bytes; anything far larger is not one.
constexpr qint64 kMaxManifestBytes = 64 * 1024;
// Letters, digits and hyphens in at least two dot-separated parts, each starting with a
// letter: valid as a desktop entry name, an AppStream id and (lowercased) a package name.
constexpr char kIdPattern[] = "[A-Za-z][A-Za-z0-9-]*(\\.[A-Za-z][A-Za-z0-9-]*)+";
// File names hold the id with suffixes such as ".metainfo.xml" within 255 bytes.
constexpr int kMaxIdLength = 200;
// An SVG icon is tried at the smallest size the shell draws it at.
constexpr int kSmallestIconSize = 16;

std::string FieldFault(const char* field, const QString& what) {
  return std::string(field) + ": " + what.toStdString();
}

// A path the manifest names, which must stay inside the app folder.
QFileInfo InsideFolder(const QDir& folder, const QString& relative, const char* field,
                       std::string& error) {
  if (relative.isEmpty() || QDir::isAbsolutePath(relative)) {
    error = FieldFault(field, QStringLiteral("must be a path relative to the app folder"));
    return QFileInfo();
  }
  const QFileInfo info(folder.filePath(relative));
  if (!info.exists()) {
    error = FieldFault(field, QStringLiteral("%1 does not exist").arg(relative));
    return QFileInfo();
  }
  const QString root = folder.canonicalPath() + QLatin1Char('/');
  if (!info.canonicalFilePath().startsWith(root)) {
    error = FieldFault(field, QStringLiteral("%1 lies outside the app folder").arg(relative));
    return QFileInfo();
  }
  return info;
}

bool ReadId(const QJsonObject& manifest, AppIdentity& identity, std::string& error) {
  const QJsonValue value = manifest.value(QStringLiteral("id"));
  if (value.isUndefined()) {
    error = FieldFault("id", QStringLiteral("missing"));
    return false;
  }
  const QString id = value.toString();
  // Anchored at both ends: "$" would let a line break through.
  static const QRegularExpression pattern(
      QRegularExpression::anchoredPattern(QString::fromLatin1(kIdPattern)));
  if (!value.isString() || id.size() > kMaxIdLength || !pattern.match(id).hasMatch()) {
    error = FieldFault("id", QStringLiteral("must be a reverse domain name such as "
                                            "org.example.App (letters, digits, hyphens)"));
    return false;
  }
  identity.id = id.toStdString();
  return true;
}

bool ReadTitle(const QJsonObject& manifest, AppIdentity& identity, std::string& error) {
  const QJsonValue value = manifest.value(QStringLiteral("title"));
  if (value.isUndefined()) return true;
  if (!value.isString() || value.toString().trimmed().isEmpty()) {
    error = FieldFault("title", QStringLiteral("must be a text that is not empty"));
    return false;
  }
  identity.title = value.toString().toStdWString();
  return true;
}

// An SVG is only known good once drawn: its header says nothing.
bool IsIconImage(const QString& path) {
  QImageReader reader(path);
  reader.setDecideFormatFromContent(true);
  if (reader.format() == "png") return reader.size().isValid();
  if (reader.format() != "svg") return false;
  reader.setScaledSize(QSize(kSmallestIconSize, kSmallestIconSize));
  return !reader.read().isNull();
}

bool ReadIcon(const QJsonObject& manifest, const QDir& folder, AppIdentity& identity,
              std::string& error) {
  const QJsonValue value = manifest.value(QStringLiteral("icon"));
  if (value.isUndefined()) return true;
  const QFileInfo file = InsideFolder(folder, value.toString(), "icon", error);
  if (!error.empty()) return false;
  if (!file.isFile() || !IsIconImage(file.absoluteFilePath())) {
    error =
        FieldFault("icon", QStringLiteral("%1 is not a PNG or SVG image").arg(value.toString()));
    return false;
  }
  identity.iconFile = QFile::encodeName(file.absoluteFilePath()).toStdString();
  return true;
}

bool ReadSkin(const QJsonObject& manifest, const QDir& folder, AppIdentity& identity,
              std::string& error) {
  const QJsonValue value = manifest.value(QStringLiteral("skin"));
  if (value.isUndefined()) return true;
  const QFileInfo skin = InsideFolder(folder, value.toString(), "skin", error);
  if (!error.empty()) return false;
  if (!skin.isDir()) {
    error = FieldFault("skin", QStringLiteral("%1 is not a folder").arg(value.toString()));
    return false;
  }
  identity.skinFolder = (skin.absoluteFilePath() + QLatin1Char('/')).toStdWString();
  return true;
}

}  // namespace

AppManifest ReadAppManifest(const std::string& appFolder) {
  AppManifest result;
  const QDir folder(QFile::decodeName(appFolder.c_str()));
  QFile file(folder.filePath(QString::fromLatin1(kAppManifestName)));
  if (!file.exists()) return result;
  result.present = true;
  if (file.size() > kMaxManifestBytes || !file.open(QIODevice::ReadOnly)) {
    result.error = "cannot be read";
    return result;
  }
  QJsonParseError parseError;
  const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
  if (parseError.error != QJsonParseError::NoError) {
    result.error = QStringLiteral("not valid JSON: %1 at character %2")
                       .arg(parseError.errorString())
                       .arg(parseError.offset)
                       .toStdString();
    return result;
  }
  if (!document.isObject()) {
    result.error = "must hold one JSON object";
    return result;
  }
  const QJsonObject manifest = document.object();
  AppIdentity& identity = result.identity;
  std::string& error = result.error;
  ReadId(manifest, identity, error) && ReadTitle(manifest, identity, error) &&
      ReadIcon(manifest, folder, identity, error) && ReadSkin(manifest, folder, identity, error);
  return result;
}

void AdoptAppIdentity(const AppIdentity& identity) {
  const QString id = QString::fromStdString(identity.id);
  // The Wayland app id; the class of WM_CLASS is the application's name.
  QGuiApplication::setDesktopFileName(id);
  QCoreApplication::setApplicationName(id);
  if (!identity.iconFile.empty())
    UseApplicationIconFile(QFile::decodeName(identity.iconFile.c_str()));
  if (!identity.title.empty()) ReplaceString(AFX_IDS_APP_TITLE, identity.title);
}

}  // namespace platform
