// Reads PGN files: tags, movetext with move numbers, comments, NAGs and
// annotation marks, escape lines and the result, and replays every move on a
// position. Variations are skipped with everything inside them. A file may
// hold several games; a broken one does not hide the games after it.
#pragma once

#include "chess/PgnGame.h"

#include <cstddef>
#include <string>
#include <vector>

namespace chess {

struct PgnError {
  int line = 0;       // 1-based line of the file
  std::string reason; // names the move or tag at fault
};

// One game of a file as ReadAll finds it.
struct PgnGameEntry {
  bool ok = false;
  int line = 1;   // line of the file where the game begins
  PgnGame game;   // the whole game, or what could be read before its fault
  PgnError error; // where and why the game is broken, when not ok
  PgnSummary summary;
};

class CPgnReader {
public:
  // Files beyond this size are refused before they are looked at.
  static constexpr std::size_t MAX_FILE_BYTES = 1024 * 1024;

  // Reads and checks the first game of text. On false, game is untouched
  // and error says where and why.
  static bool Read(const std::string &text, PgnGame &game, PgnError &error);

  // Reads the first game of text into game. On false game holds what came
  // before the fault: its tags, start and the plies that replayed (none for
  // a file that is no PGN at all), with result "*"; error says where and why.
  static bool ReadUpToFault(const std::string &text, PgnGame &game, PgnError &error);

  // Reads every game of text, in file order, each either whole or up to its
  // fault; line numbers count from the top of the file. False, with games
  // empty, when the file is too large or holds no game at all.
  static bool ReadAll(const std::string &text, std::vector<PgnGameEntry> &games, PgnError &error);
};

} // namespace chess
