// Text for the interface: its fonts hold Latin-1. Strings (messages, file
// names, engine names) are read as UTF-8; a byte that is not part of a valid
// UTF-8 sequence is taken as Latin-1 by itself, as older files write them.
#pragma once

#include "platform/Language.h"

#include <irrlicht.h>

#include <string>

inline irr::core::stringw GuiText(const std::string &text) {
  irr::core::stringw wide;
  const size_t size = text.size();
  for (size_t i = 0; i < size;) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    // The sequence's length and the smallest code point it may carry, so
    // that overlong forms count as invalid.
    const size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 1;
    unsigned long code = length == 4 ? lead & 0x07 : length == 3 ? lead & 0x0F : length == 2 ? lead & 0x1F : lead;
    bool valid = length > 1 && i + length <= size && lead < 0xF5;
    for (size_t k = 1; valid && k < length; ++k) {
      const unsigned char next = static_cast<unsigned char>(text[i + k]);
      valid = (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3F);
    }
    valid = valid &&
            code >= (length == 4   ? 0x10000ul
                     : length == 3 ? 0x800ul
                                   : 0x80ul) &&
            code <= 0x10FFFFul && !(code >= 0xD800 && code <= 0xDFFF);
    if (valid) {
      wide.append(wchar_t(code));
      i += length;
    } else {
      wide.append(wchar_t(lead));
      ++i;
    }
  }
  return wide;
}

// Interface text back to UTF-8, to be placed into a message.
inline std::string Utf8(const std::wstring &wide) {
  std::string text;
  for (const wchar_t c : wide) {
    const unsigned long code = static_cast<unsigned long>(c);
    if (code < 0x80) {
      text += char(code);
    } else if (code < 0x800) {
      text += char(0xC0 | (code >> 6));
      text += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      text += char(0xE0 | (code >> 12));
      text += char(0x80 | ((code >> 6) & 0x3F));
      text += char(0x80 | (code & 0x3F));
    } else {
      text += char(0xF0 | (code >> 18));
      text += char(0x80 | ((code >> 12) & 0x3F));
      text += char(0x80 | ((code >> 6) & 0x3F));
      text += char(0x80 | (code & 0x3F));
    }
  }
  return text;
}

// A message of the catalogue in the interface language, as interface text.
inline irr::core::stringw TrW(const char *msgid) { return GuiText(platform::Tr(msgid)); }
// A message with {1}, {2}, ... filled in (see platform::TrFormat).
inline irr::core::stringw TrFormatW(const char *msgid, std::initializer_list<std::string> args) {
  return GuiText(platform::TrFormat(msgid, args));
}
