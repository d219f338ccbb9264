#include "runtime/qt/engine_features.h"

#include <QList>
#include <QtGlobal>

namespace runtime {

namespace {

constexpr char kChromiumFlagsVariable[] = "QTWEBENGINE_CHROMIUM_FLAGS";
// The engine keeps only the last of a repeated switch, so the shell's feature
// joins the list given before instead of adding a switch of its own.
constexpr char kDisabledBlinkFeatures[] = "--disable-blink-features=";
constexpr char kSharedWorker[] = "SharedWorker";

}  // namespace

QByteArray FlagsWithSharedWorkersOff(const QByteArray& flags) {
  QList<QByteArray> kept;
  QList<QByteArray> features;
  for (const QByteArray& flag : flags.simplified().split(' ')) {
    if (flag.isEmpty()) continue;
    if (!flag.startsWith(kDisabledBlinkFeatures)) {
      kept.append(flag);
      continue;
    }
    for (const QByteArray& feature : flag.mid(sizeof(kDisabledBlinkFeatures) - 1).split(','))
      if (!feature.isEmpty() && !features.contains(feature)) features.append(feature);
  }
  if (!features.contains(kSharedWorker)) features.append(kSharedWorker);
  kept.append(kDisabledBlinkFeatures + features.join(','));
  return kept.join(' ');
}

void TurnOffSharedWorkers() {
  qputenv(kChromiumFlagsVariable, FlagsWithSharedWorkersOff(qgetenv(kChromiumFlagsVariable)));
}

}  // namespace runtime
