#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/system.h"

namespace {

// POSIX locale names (language, or language_TERRITORY) and the Windows language
// id each stands for. A territory that is not listed falls back to the entry for
// the bare language; a language that is not listed is English (United States).
// Spain's locale has no sort order, so es_ES takes the primary Spanish id 0x040A.
struct LocaleLangId {
  const char* name;
  LANGID id;
};

constexpr LocaleLangId kLocaleLangIds[] = {
    {"ar", 0x0401},    {"ar_SA", 0x0401}, {"ar_EG", 0x0C01}, {"da", 0x0406},    {"da_DK", 0x0406},
    {"de", 0x0407},    {"de_DE", 0x0407}, {"de_AT", 0x0C07}, {"de_CH", 0x0807}, {"en", 0x0409},
    {"en_US", 0x0409}, {"en_GB", 0x0809}, {"es", 0x040A},    {"es_ES", 0x040A}, {"es_MX", 0x080A},
    {"fr", 0x040C},    {"fr_FR", 0x040C}, {"fr_CA", 0x0C0C}, {"it", 0x0410},    {"it_IT", 0x0410},
    {"ja", 0x0411},    {"ja_JP", 0x0411}, {"ko", 0x0412},    {"ko_KR", 0x0412}, {"pt", 0x0816},
    {"pt_PT", 0x0816}, {"pt_BR", 0x0416}, {"zh", 0x0804},    {"zh_CN", 0x0804}, {"zh_SG", 0x1004},
    {"zh_TW", 0x0404}, {"zh_HK", 0x0C04}, {"nl", 0x0413},    {"nl_NL", 0x0413}, {"ru", 0x0419},
    {"ru_RU", 0x0419}, {"pl", 0x0415},    {"pl_PL", 0x0415}, {"sv", 0x041D},    {"sv_SE", 0x041D},
};

constexpr LANGID kEnglishUnitedStates = 0x0409;

LANGID Lookup(const std::string& name) {
  for (const LocaleLangId& entry : kLocaleLangIds) {
    if (name == entry.name) return entry.id;
  }
  return 0;
}

}  // namespace

LANGID LangIdFromLocaleName(const char* localeName) {
  if (!localeName) return kEnglishUnitedStates;
  // "de_AT.UTF-8@euro" -> "de_AT"
  std::string name(localeName, std::strcspn(localeName, ".@"));
  if (const LANGID id = Lookup(name)) return id;
  const std::string language = name.substr(0, name.find('_'));
  if (const LANGID id = Lookup(language)) return id;
  return kEnglishUnitedStates;
}

LANGID GetSystemDefaultLangID() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return LangIdFromLocaleName(value);
  }
  return kEnglishUnitedStates;
}
