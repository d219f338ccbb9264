#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "app/ui_locale.h"
#include "platform/system.h"

namespace {

TEST(UiLocaleTest, WholeLanguageIdsMapThroughTheTable) {
  const struct {
    LANGID id;
    const char* locale;
  } cases[] = {
      {1025, "ar"},    {1028, "zh-TW"}, {1030, "da"},    {1031, "de"},    {1033, "en-US"},
      {1034, "es"},    {1036, "fr"},    {1040, "it"},    {1041, "ja"},    {1042, "ko"},
      {2052, "zh-CN"}, {3094, "pt"},    {2070, "en-US"}, {1046, "en-US"}, {3079, "en-US"},
      {3082, "en-US"}, {0, "en-US"},
  };
  for (const auto& c : cases) EXPECT_STREQ(UiLocaleForLangId(c.id), c.locale) << c.id;
}

TEST(LangIdTest, PosixLocaleNamesGiveWindowsLanguageIds) {
  const struct {
    const char* name;
    LANGID id;
  } cases[] = {
      {"de_DE.UTF-8", 1031},
      {"de_AT.UTF-8", 3079},
      {"de_LU", 1031},
      {"pt_PT.UTF-8", 2070},
      {"pt_BR", 1046},
      {"en_US.UTF-8", 1033},
      {"en_GB", 2057},
      {"zh_CN.GB18030", 2052},
      {"zh_TW.UTF-8", 1028},
      {"ja_JP.eucJP", 1041},
      {"ko_KR", 1042},
      {"ar_SA", 1025},
      {"da_DK", 1030},
      {"es_ES@euro", 1034},
      {"fr_FR.UTF-8", 1036},
      {"it_IT", 1040},
      {"C", 1033},
      {"POSIX", 1033},
      {"", 1033},
      {"xx_YY", 1033},
  };
  for (const auto& c : cases) EXPECT_EQ(LangIdFromLocaleName(c.name), c.id) << c.name;
}

// Sets the three locale variables for one test and puts them back afterwards.
class LocaleEnvironment {
 public:
  LocaleEnvironment(const char* all, const char* messages, const char* lang) {
    Set("LC_ALL", all);
    Set("LC_MESSAGES", messages);
    Set("LANG", lang);
  }
  ~LocaleEnvironment() {
    for (const auto& [name, value] : m_saved) {
      value.empty() ? unsetenv(name.c_str()) : setenv(name.c_str(), value.c_str(), 1);
    }
  }

 private:
  void Set(const char* name, const char* value) {
    const char* old = std::getenv(name);
    m_saved.emplace_back(name, old ? old : "");
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  std::vector<std::pair<std::string, std::string>> m_saved;
};

TEST(LangIdTest, SystemLanguageTakesLcAllThenLcMessagesThenLang) {
  {
    LocaleEnvironment env("ja_JP.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8");
    EXPECT_EQ(GetSystemDefaultLangID(), 1041);
  }
  {
    LocaleEnvironment env(nullptr, "de_DE.UTF-8", "fr_FR.UTF-8");
    EXPECT_EQ(GetSystemDefaultLangID(), 1031);
  }
  {
    LocaleEnvironment env("", nullptr, "fr_FR.UTF-8");
    EXPECT_EQ(GetSystemDefaultLangID(), 1036);
  }
  {
    LocaleEnvironment env(nullptr, nullptr, nullptr);
    EXPECT_EQ(GetSystemDefaultLangID(), 1033);
  }
}

}  // namespace
