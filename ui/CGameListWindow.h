// The window that lists the games of a PGN file holding several, one row per
// game (White, Black, date, result, or where it is broken), so the player
// chooses which to open.
#pragma once

#include "chess/CPgnReader.h"

#include <irrlicht.h>

#include <string>
#include <vector>

class CGameListWindow {
public:
  // Opens the list (replacing one that is open) for the file's games.
  void Show(const std::string &path, std::vector<chess::PgnGameEntry> games);
  // The Open button or a double click: the chosen game, if it can be read,
  // leaves through entry; false when nothing can be opened.
  bool TakeChoice(chess::PgnGameEntry &entry, std::string &path);
  void Close();
  bool IsOpen() const { return window != nullptr; }
  irr::gui::IGUIListBox *GetList() const { return list; }
  // The text of a row, as the list shows it.
  static std::wstring RowText(const chess::PgnGameEntry &entry);

private:
  irr::gui::IGUIWindow *window = nullptr;
  irr::gui::IGUIListBox *list = nullptr;
  std::string filePath;
  std::vector<chess::PgnGameEntry> entries;
};
