#include "platform/qt/settings.h"

#include <QSettings>
#include <QString>
#include <QtGlobal>

#include <memory>

namespace platform {
namespace {

std::unique_ptr<QSettings>& Profile() {
  static std::unique_ptr<QSettings> profile;
  return profile;
}

QString Key(LPCWSTR section, LPCWSTR entry) {
  return QString::fromWCharArray(section) + '/' + QString::fromWCharArray(entry);
}

// Without either variable Qt would keep the profile under the file-system root, which is
// nobody's: the user then has no profile, so settings read as defaults and are not saved.
bool HasUserConfigFolder() {
  return !qEnvironmentVariableIsEmpty("XDG_CONFIG_HOME") || !qEnvironmentVariableIsEmpty("HOME");
}

}  // namespace

void SetProfileLocation(LPCWSTR registryKey, LPCWSTR appName) {
  if (!HasUserConfigFolder()) {
    Profile().reset();
    return;
  }
  Profile() = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                          QString::fromWCharArray(registryKey),
                                          QString::fromWCharArray(appName));
}

QVariant ReadProfileValue(LPCWSTR section, LPCWSTR entry) {
  return Profile() ? Profile()->value(Key(section, entry)) : QVariant();
}

BOOL WriteProfileValue(LPCWSTR section, LPCWSTR entry, const QVariant& value) {
  QSettings* profile = Profile().get();
  if (!profile) return FALSE;
  if (value.isValid()) {
    profile->setValue(Key(section, entry), value);
  } else {
    profile->remove(Key(section, entry));
  }
  profile->sync();
  return profile->status() == QSettings::NoError;
}

}  // namespace platform
