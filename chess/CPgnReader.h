// Reads the first game of a PGN file: tags, movetext with move numbers,
// comments, variations (skipped), NAGs, escape lines and the result, and
// replays every move on a position.
#pragma once

#include "chess/PgnGame.h"

#include <cstddef>
#include <string>

namespace chess {

struct PgnError {
  int line = 0;       // 1-based line of the file
  std::string reason; // names the move or tag at fault
};

class CPgnReader {
public:
  // Files beyond this size are refused before they are looked at.
  static constexpr std::size_t MAX_FILE_BYTES = 1024 * 1024;

  // Reads and checks the first game of text. On false, game is untouched
  // and error says where and why.
  static bool Read(const std::string &text, PgnGame &game, PgnError &error);
};

} // namespace chess
