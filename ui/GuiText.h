// Text for the interface: its fonts hold Latin-1, and every string the
// program shows (messages, file names, engine names) is widened byte by byte.
#pragma once

#include <irrlicht.h>

#include <string>

inline irr::core::stringw GuiText(const std::string &text) {
  irr::core::stringw wide;
  for (unsigned char c : text)
    wide.append(wchar_t(c));
  return wide;
}
