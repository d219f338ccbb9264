#include "platform/qt/font_substitution.h"

#include <QFontDatabase>
#include <QStringList>
#include <map>

namespace platform {

namespace {

// Installed families that cover the same scripts as common families of the
// other window system, best first.
const std::map<std::wstring, QStringList>& Substitutes() {
  static const std::map<std::wstring, QStringList> substitutes = {
      {L"宋体", {"Noto Serif CJK SC", "Noto Sans CJK SC"}},
      {L"SimSun", {"Noto Serif CJK SC", "Noto Sans CJK SC"}},
      {L"新宋体", {"Noto Serif CJK SC", "Noto Sans CJK SC"}},
      {L"微软雅黑", {"Noto Sans CJK SC"}},
      {L"Microsoft YaHei", {"Noto Sans CJK SC"}},
      {L"黑体", {"Noto Sans CJK SC"}},
      {L"SimHei", {"Noto Sans CJK SC"}},
  };
  return substitutes;
}

const QStringList& GeneralFallbacks() {
  static const QStringList fallbacks = {"Noto Sans CJK SC", "DejaVu Sans"};
  return fallbacks;
}

}  // namespace

QString ResolveFontFamily(const std::wstring& requested) {
  static std::map<std::wstring, QString> resolved;
  const auto known = resolved.find(requested);
  if (known != resolved.end()) return known->second;
  QStringList candidates = {QString::fromStdWString(requested)};
  const auto substitutes = Substitutes().find(requested);
  if (substitutes != Substitutes().end()) candidates += substitutes->second;
  candidates += GeneralFallbacks();
  QString family = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
  for (const QString& candidate : candidates) {
    if (!candidate.isEmpty() && QFontDatabase::hasFamily(candidate)) {
      family = candidate;
      break;
    }
  }
  resolved[requested] = family;
  return family;
}

QString GlyphFallbackFamily() { return GeneralFallbacks().first(); }

}  // namespace platform
