#include "runtime/qt/download_name.h"

#include <QList>
#include <QStringView>

#include <algorithm>

namespace runtime {

namespace {

constexpr char kFallbackName[] = "download";
// An extension longer than this is more likely part of the name than a type,
// and not worth keeping at the cost of the name.
constexpr int kMaxKeptExtensionBytes = 32;

int Utf8Size(QStringView text) { return text.toUtf8().size(); }

// The last component of either kind of path: a name from a Windows server may
// use backslashes, and no name the user wants holds one.
QString LastPathComponent(const QString& name) {
  const qsizetype cut =
      std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
  return name.mid(cut + 1);
}

// Characters that can change how the rest of the name reads without showing
// themselves: a right-to-left override makes "a<RLO>gpj.exe" read "aexe.jpg".
bool IsDirectionControl(char32_t c) {
  return c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

QString WithoutInvisibleControls(const QString& name) {
  QString kept;
  for (const char32_t c : name.toUcs4()) {
    if (QChar::category(c) == QChar::Other_Control || IsDirectionControl(c)) continue;
    kept += QString::fromUcs4(&c, 1);
  }
  return kept;
}

// A leading dot hides the file; spaces before it would only hide the dot.
QString WithoutLeadingDots(const QString& name) {
  qsizetype first = 0;
  while (first < name.size() && (name[first] == QLatin1Char('.') || name[first].isSpace())) ++first;
  return name.mid(first);
}

// Cuts the part before the extension, so the file keeps its type.
QString CutKeepingExtension(const QString& name, int maxBytes) {
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  const QString extension = dot > 0 ? name.mid(dot) : QString();
  if (extension.isEmpty() || Utf8Size(extension) > kMaxKeptExtensionBytes)
    return CutToBytes(name, maxBytes);
  return CutToBytes(name.left(dot), maxBytes - Utf8Size(extension)) + extension;
}

}  // namespace

QString CutToBytes(const QString& name, int maxBytes) {
  QString cut;
  int bytes = 0;
  for (const char32_t c : name.toUcs4()) {
    const QString character = QString::fromUcs4(&c, 1);
    bytes += Utf8Size(character);
    if (bytes > maxBytes) break;
    cut += character;
  }
  return cut;
}

QString SafeDownloadName(const QString& suggested) {
  QString name = WithoutLeadingDots(WithoutInvisibleControls(LastPathComponent(suggested)));
  name = name.trimmed();
  if (Utf8Size(name) > kMaxFileNameBytes) name = CutKeepingExtension(name, kMaxFileNameBytes);
  return name.isEmpty() ? QString::fromLatin1(kFallbackName) : name;
}

}  // namespace runtime
