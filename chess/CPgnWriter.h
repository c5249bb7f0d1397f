// Writes a game as Portable Game Notation: the seven-tag roster first, the
// set-up tags of a game from another start, the game's other tags in their
// order, the moves in standard notation with move numbers, their NAGs ($n)
// and comments, lines under 80 columns, the result as terminator.
#pragma once

#include "chess/PgnGame.h"

#include <cstddef>
#include <string>

namespace chess {

class CPgnWriter {
public:
  static constexpr std::size_t LINE_LIMIT = 79;

  // The file text of the game; reading it back gives the same tags, moves,
  // NAGs, comments and result. False, with error naming the move, when a
  // move is not legal where it stands (the game record is broken).
  static bool Write(const PgnGame &game, std::string &text, std::string &error);
  // The moves in standard notation, as a reader reads them: "1. e4 Nf6",
  // "2. Nf3 Nxe4", one line per move pair, the result last for a finished
  // game. A start with Black to move opens with "n... move".
  static bool MovesList(const PgnGame &game, std::string &text);
};

} // namespace chess
