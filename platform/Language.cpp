#include "platform/Language.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <libintl.h>
#include <sys/stat.h>

namespace platform {

namespace {

bool IsFolder(const std::string &path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string FillArgs(std::string text, std::initializer_list<std::string> args) {
  int number = 1;
  for (const std::string &arg : args) {
    const std::string mark = "{" + std::to_string(number++) + "}";
    for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + arg.size()))
      text.replace(at, mark.size(), arg);
  }
  return text;
}

} // namespace

std::string LocaleFolder(const std::string &dataFolder) {
  const std::string beside = dataFolder + "/locale";
  return IsFolder(beside) ? beside : dataFolder + "/../locale";
}

std::string RequestedMessagesLocale() {
  for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char *value = std::getenv(name);
    if (value && *value)
      return value;
  }
  return "";
}

std::string LanguageOfLocale(const std::string &locale) {
  const std::string language = locale.substr(0, locale.find_first_of(".@"));
  return language == "C" || language == "POSIX" ? "" : language;
}

std::string SetUpInterfaceLanguage(const std::string &localeFolder) {
  // Only messages: LC_NUMERIC must stay "C", or "1500.0" would be written
  // "1500,0" into logs, settings and games.
  if (!std::setlocale(LC_MESSAGES, "")) {
    // The locale asked for is not generated here. gettext reads LANGUAGE
    // under any locale but plain "C", so C.UTF-8 with LANGUAGE set still
    // finds the catalogue of the language asked for.
    const std::string language = LanguageOfLocale(RequestedMessagesLocale());
    const char *listed = std::getenv("LANGUAGE");
    if (!language.empty() && std::setlocale(LC_MESSAGES, "C.UTF-8") && !(listed && *listed))
      setenv("LANGUAGE", language.c_str(), 1);
  }
  bindtextdomain(TEXT_DOMAIN, localeFolder.c_str());
  // The interface decodes UTF-8 whatever the character type locale is.
  bind_textdomain_codeset(TEXT_DOMAIN, "UTF-8");
  return InterfaceLanguage();
}

std::string InterfaceLanguage() {
  // The empty message is the catalogue's header, with a "Language: de" line.
  const char *header = dgettext(TEXT_DOMAIN, "");
  const char *field = header ? std::strstr(header, "Language: ") : nullptr;
  if (!field)
    return "en";
  field += std::strlen("Language: ");
  std::string language(field, std::strcspn(field, "\n_"));
  return language.empty() ? "en" : language;
}

const char *Tr(const char *msgid) { return *msgid ? dgettext(TEXT_DOMAIN, msgid) : msgid; }

const char *TrContext(const char *context, const char *msgid) {
  // gettext keeps a context as "<context>\004<message>".
  static thread_local std::string key;
  key = std::string(context) + '\004' + msgid;
  const char *found = dgettext(TEXT_DOMAIN, key.c_str());
  return found == key.c_str() ? msgid : found;
}

const char *TrN(const char *one, const char *many, unsigned long n) { return dngettext(TEXT_DOMAIN, one, many, n); }

std::string TrFormat(const char *msgid, std::initializer_list<std::string> args) { return FillArgs(Tr(msgid), args); }

std::string TrFormatN(const char *one, const char *many, unsigned long n, std::initializer_list<std::string> args) {
  return FillArgs(TrN(one, many, n), args);
}

std::string FillIn(const std::string &text, std::initializer_list<std::string> args) { return FillArgs(text, args); }

} // namespace platform
