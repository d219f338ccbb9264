#include "app/ui_locale.h"

namespace {

struct LangLocale {
  LANGID langId;
  const char* locale;
};

constexpr LangLocale kUiLocales[] = {
    {1025, "ar"}, {1028, "zh-TW"}, {1030, "da"}, {1031, "de"}, {1033, "en-US"}, {1034, "es"},
    {1036, "fr"}, {1040, "it"},    {1041, "ja"}, {1042, "ko"}, {2052, "zh-CN"}, {3094, "pt"},
};

constexpr char kDefaultLocale[] = "en-US";

}  // namespace

const char* UiLocaleForLangId(LANGID langId) {
  for (const LangLocale& entry : kUiLocales) {
    if (entry.langId == langId) return entry.locale;
  }
  return kDefaultLocale;
}
