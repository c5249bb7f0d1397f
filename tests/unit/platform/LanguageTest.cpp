// The interface language from the environment, as gettext reads it, also
// when the locale asked for is not generated on the machine (test machines
// have no German or French locale); the catalogues of the run folder; and
// numbers that keep their decimal point whatever the language.
#include "platform/Language.h"
#include "ui/CGui.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

struct SEnvironmentCase {
  const char *name;
  const char *language, *lcAll, *lcMessages, *lang; // nullptr: unset
  const char *expected;                             // the language the game reports
  const char *resign;                               // "Resign" in it
};

void PrintTo(const SEnvironmentCase &c, std::ostream *os) { *os << c.name; }

const SEnvironmentCase ENVIRONMENTS[] = {
    {"LangGermanNotGenerated", nullptr, nullptr, nullptr, "de_DE.UTF-8", "de", "Aufgeben"},
    {"LangFrench", nullptr, nullptr, nullptr, "fr_FR.UTF-8", "fr", "Abandonner"},
    {"LangWithModifier", nullptr, nullptr, nullptr, "de_AT.UTF-8@euro", "de", "Aufgeben"},
    {"LanguageOverLang", "fr", nullptr, nullptr, "de_DE.UTF-8", "fr", "Abandonner"},
    {"LanguageListSkipsMissing", "it:de", nullptr, nullptr, "fr_FR.UTF-8", "de", "Aufgeben"},
    {"LanguageUnderCUtf8", "de", "C.UTF-8", nullptr, nullptr, "de", "Aufgeben"},
    {"LanguageEnglish", "en", "C.UTF-8", nullptr, "de_DE.UTF-8", "en", "Resign"},
    {"LcAllOverLang", nullptr, "fr_FR.UTF-8", nullptr, "de_DE.UTF-8", "fr", "Abandonner"},
    {"LcMessagesOverLang", nullptr, nullptr, "fr_CA.UTF-8", "de_DE.UTF-8", "fr", "Abandonner"},
    // The C locale means English; gettext then ignores LANGUAGE, as usual.
    {"PlainCIgnoresLanguage", "de", nullptr, nullptr, "C", "en", "Resign"},
    {"NothingSet", nullptr, nullptr, nullptr, nullptr, "en", "Resign"},
    {"NoCatalogue", nullptr, nullptr, nullptr, "it_IT.UTF-8", "en", "Resign"},
};

void SetOrUnset(const char *name, const char *value) {
  if (value)
    setenv(name, value, 1);
  else
    unsetenv(name);
}

class InterfaceLanguage : public testing::TestWithParam<SEnvironmentCase> {};

// Each case runs in a process of its own (gettext keeps what it found).
TEST_P(InterfaceLanguage, FollowsTheEnvironmentAndKeepsNumbersInCForm) {
  const SEnvironmentCase &c = GetParam();
  SetOrUnset("LANGUAGE", c.language);
  SetOrUnset("LC_ALL", c.lcAll);
  SetOrUnset("LC_MESSAGES", c.lcMessages);
  SetOrUnset("LANG", c.lang);
  char folder[4096];
  ASSERT_NE(getcwd(folder, sizeof folder), nullptr);
  EXPECT_EQ(platform::SetUpInterfaceLanguage(platform::LocaleFolder(folder)), c.expected);
  EXPECT_STREQ(platform::Tr("Resign"), c.resign);
  // Only the messages follow the language.
  EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
  char number[32];
  std::snprintf(number, sizeof number, "%.1f", 1500.0);
  EXPECT_STREQ(number, "1500.0");
}

INSTANTIATE_TEST_SUITE_P(Environments, InterfaceLanguage, testing::ValuesIn(ENVIRONMENTS),
                         [](const testing::TestParamInfo<SEnvironmentCase> &info) { return info.param.name; });

TEST(InterfaceLanguage, LanguageOfLocaleNames) {
  const std::pair<const char *, const char *> cases[] = {
      {"de_DE.UTF-8", "de_DE"}, {"fr_FR@euro", "fr_FR"}, {"de", "de"}, {"C", ""},
      {"C.UTF-8", ""},          {"POSIX", ""},           {"", ""},
  };
  for (const auto &[locale, language] : cases)
    EXPECT_EQ(platform::LanguageOfLocale(locale), language) << locale;
}

TEST(InterfaceLanguage, CataloguesBesideTheDataOrInstalledNextToIt) {
  namespace fs = std::filesystem;
  char pattern[] = "/tmp/kelvar-locale.XXXXXX";
  const fs::path root = mkdtemp(pattern);
  fs::create_directories(root / "share/kelvar/media");
  EXPECT_EQ(platform::LocaleFolder((root / "share/kelvar").string()), (root / "share/kelvar/../locale").string());
  fs::create_directories(root / "share/kelvar/locale");
  EXPECT_EQ(platform::LocaleFolder((root / "share/kelvar").string()), (root / "share/kelvar/locale").string());
  fs::remove_all(root);
}

// The help is looked up a paragraph at a time: in German every paragraph of
// the help file comes back translated, the blank lines between them kept.
TEST(InterfaceLanguage, HelpTextIsTranslatedParagraphByParagraph) {
  std::ifstream file("media/chess_helptext.txt");
  ASSERT_TRUE(file.good());
  std::stringstream read;
  read << file.rdbuf();
  const std::string help = read.str();
  auto paragraphs = [](const std::string &text) {
    std::vector<std::string> found;
    std::string line, current;
    std::istringstream lines(text);
    while (std::getline(lines, line)) {
      if (line.empty()) {
        if (!current.empty())
          found.push_back(current);
        current.clear();
      } else {
        current += line + "\n";
      }
    }
    if (!current.empty())
      found.push_back(current);
    return found;
  };

  setenv("LANGUAGE", "en", 1);
  setenv("LC_ALL", "C.UTF-8", 1);
  char folder[4096];
  ASSERT_NE(getcwd(folder, sizeof folder), nullptr);
  ASSERT_EQ(platform::SetUpInterfaceLanguage(platform::LocaleFolder(folder)), "en");
  EXPECT_EQ(TranslateParagraphs(help), help) << "untranslated, the text stays as it is";
  EXPECT_EQ(TranslateParagraphs("\n\nA\n\n\n\nB\n"), "\n\nA\n\n\n\nB\n");

  setenv("LANGUAGE", "de", 1);
  ASSERT_EQ(platform::SetUpInterfaceLanguage(platform::LocaleFolder(folder)), "de");
  const std::vector<std::string> english = paragraphs(help), german = paragraphs(TranslateParagraphs(help));
  ASSERT_EQ(german.size(), english.size());
  for (size_t i = 0; i < english.size(); ++i)
    EXPECT_NE(german[i], english[i]) << "paragraph " << i << " is not translated";
  EXPECT_EQ(german.front(), "KELVAR - HILFE\n");
}

} // namespace
