// The language of the interface: which message catalogue gettext reads, and
// the calls that look texts up in it. Only messages follow the language;
// numbers, log lines, settings and PGN keep the C locale's forms.
#pragma once

#include <initializer_list>
#include <string>

namespace platform {

// The gettext domain of the game's catalogues (kelvar.mo).
constexpr const char *TEXT_DOMAIN = "kelvar";

// The catalogues' folder for a data folder: <data>/locale where the build's
// run folder keeps them, else <data>/../locale (share/kelvar -> share/locale
// when installed).
std::string LocaleFolder(const std::string &dataFolder);

// The locale name the environment asks messages to use: LC_ALL, else
// LC_MESSAGES, else LANG, the first that is set and not empty ("" if none).
std::string RequestedMessagesLocale();

// The language part of a locale name, for LANGUAGE: "de_DE" of
// "de_DE.UTF-8@euro"; "" for the C and POSIX locales.
std::string LanguageOfLocale(const std::string &locale);

// Sets the messages category (and only it) from the environment and binds
// the game's catalogues in localeFolder, read as UTF-8. A locale that is not
// generated on this machine falls back to C.UTF-8 with LANGUAGE naming the
// language asked for, so the game still speaks it. Returns the language of
// the catalogue now in use ("de", "fr"), or "en" when none applies.
std::string SetUpInterfaceLanguage(const std::string &localeFolder);

// The language of the catalogue in use, read from its header; "en" for none.
std::string InterfaceLanguage();

// A message in the interface language (the text itself when untranslated).
const char *Tr(const char *msgid);
// A message in a context: the same English words that must read differently
// in one place (a short label) than in others.
const char *TrContext(const char *context, const char *msgid);
// The form of a message for the count n (one/many in English).
const char *TrN(const char *one, const char *many, unsigned long n);
// A translated message with {1}, {2}, ... replaced by args in order, so that
// a translation may place them where its language wants them.
std::string TrFormat(const char *msgid, std::initializer_list<std::string> args);
// text with {1}, {2}, ... replaced by args, untranslated (log lines).
std::string FillIn(const std::string &text, std::initializer_list<std::string> args);
std::string TrFormatN(const char *one, const char *many, unsigned long n, std::initializer_list<std::string> args);
// Marks a text for the catalogue where it is stored; Tr translates it where
// it is shown.
constexpr const char *NoTr(const char *msgid) { return msgid; }

} // namespace platform
