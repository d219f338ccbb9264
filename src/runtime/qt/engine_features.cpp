#include "runtime/qt/engine_features.h"

#include <QList>
#include <QtGlobal>

namespace runtime {

namespace {

constexpr char kChromiumFlagsVariable[] = "QTWEBENGINE_CHROMIUM_FLAGS";
constexpr char kDisabledBlinkFeatures[] = "--disable-blink-features=";
constexpr char kSharedWorker[] = "SharedWorker";
constexpr char kDisabledFeatures[] = "--disable-features=";
constexpr char kWorkerFetchedByTheBrowser[] = "PlzDedicatedWorker";

// The flags with value in the list of the switch listSwitch ("--name="). The
// engine keeps only the last of a repeated switch, so every list given for it
// is joined into one, which goes last.
QByteArray WithListed(const QByteArray& flags, const QByteArray& listSwitch,
                      const QByteArray& value) {
  QList<QByteArray> kept;
  QList<QByteArray> values;
  for (const QByteArray& flag : flags.simplified().split(' ')) {
    if (flag.isEmpty()) continue;
    if (!flag.startsWith(listSwitch)) {
      kept.append(flag);
      continue;
    }
    for (const QByteArray& listed : flag.mid(listSwitch.size()).split(','))
      if (!listed.isEmpty() && !values.contains(listed)) values.append(listed);
  }
  if (!values.contains(value)) values.append(value);
  kept.append(listSwitch + values.join(','));
  return kept.join(' ');
}

}  // namespace

QByteArray FlagsWithUnguardedWorkersOff(const QByteArray& flags) {
  // A feature both turned on and off stays off: the engine reads the offs first.
  return WithListed(WithListed(flags, kDisabledBlinkFeatures, kSharedWorker), kDisabledFeatures,
                    kWorkerFetchedByTheBrowser);
}

void TurnOffUnguardedWorkers() {
  qputenv(kChromiumFlagsVariable, FlagsWithUnguardedWorkersOff(qgetenv(kChromiumFlagsVariable)));
}

}  // namespace runtime
