// Interface text from strings: UTF-8 is decoded; bytes that are no valid
// UTF-8 (a Latin-1 file name, a cut sequence, an overlong form, a surrogate)
// are taken one by one as Latin-1; and the way back to UTF-8.
#include "ui/GuiText.h"

#include <gtest/gtest.h>

namespace {

TEST(GuiText, DecodesUtf8AndTakesOtherBytesAsLatin1) {
  const std::pair<std::string, std::wstring> cases[] = {
      {"Queen", L"Queen"},
      {"L\xc3\xa4ufer \xc3\xa9"
       "chec et mat",
       L"L\u00e4ufer \u00e9chec et mat"},
      {"\xc3\x9f\xc3\xbf\xc2\xa0", L"\u00df\u00ff\u00a0"},
      {"L\xe4ufer", L"L\u00e4ufer"},           // Latin-1
      {"ab\xc3", L"ab\u00c3"},                 // cut at the end
      {"\xc3(", L"\u00c3("},                   // no continuation byte
      {"\xc0\xaf", L"\u00c0\u00af"},           // overlong '/'
      {"\xe0\x80\xaf", L"\u00e0\u0080\u00af"}, // overlong, three bytes
      {"\xed\xa0\x80", L"\u00ed\u00a0\u0080"}, // a surrogate
      {"\xe2\x82\xac", L"\u20ac"},             // the euro sign: three bytes
      {"\xf0\x9f\x98\x80!", std::wstring(1, wchar_t(0x1F600)) + L"!"},
      {"\xf5\x80\x80\x80", L"\u00f5\u0080\u0080\u0080"}, // beyond U+10FFFF
      {"", L""},
  };
  for (const auto &[text, wide] : cases) {
    EXPECT_EQ(std::wstring(GuiText(text).c_str()), wide) << text;
  }
}

TEST(GuiText, Utf8RoundTripsValidText) {
  for (const std::string text :
       {"Weiß: Genauigkeit 88.8", "Partie terminée : 1-0 (échec et mat)", "\xe2\x82\xac", "\xf0\x9f\x98\x80", ""})
    EXPECT_EQ(Utf8(GuiText(text).c_str()), text);
}

} // namespace
