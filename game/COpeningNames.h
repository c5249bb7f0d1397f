// The name of the opening the game on the board follows, from the ECO
// classification Debian ships with pgn-extract: looked up by position after
// every change of the game, shown in the status band and the moves window,
// logged when it changes ("Kelvar: opening C60 Ruy Lopez") and written into
// a saved game's tags. Without the file the game plays on without names.
#pragma once

#include "chess/COpeningBook.h"
#include "chess/PgnGame.h"

#include <cstddef>
#include <cstdint>
#include <string>

class COpeningNames {
public:
  // Reads the ECO file (KELVAR_ECO_FILE, else /usr/share/pgn-extract/eco.pgn);
  // a missing or broken one is logged and leaves the game without names.
  // Always true.
  bool Init();
  // Follows the game on the board: a new position is named.
  void Update();
  void Exit() {}

  bool HasBook() const { return haveBook; }
  // The current game's opening ("" when none is known): "C60 Ruy Lopez",
  // with ", <variation>" when the book names one.
  const std::string &GetShownName() const { return shown; }
  // Writes [ECO], [Opening] and [Variation] into a game about to be saved.
  void Tag(chess::PgnGame &game) const;

  static constexpr const char *DEFAULT_FILE = "/usr/share/pgn-extract/eco.pgn";

private:
  // Takes the name a lookup found (or none) and shows and logs it if it changed.
  void Show(const chess::OpeningMatch &match);

  chess::COpeningBook book;
  bool haveBook = false;
  uint64_t followedRevision = UINT64_MAX;
  uint64_t followedGame = UINT64_MAX;
  size_t followedPlies = 0;
  bool found = false;
  chess::OpeningName name;
  std::string shown;
};
