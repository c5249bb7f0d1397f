#include "chess/ClockNotes.h"

#include "chess/ChessClock.h"
#include "chess/PgnCommands.h"

#include <algorithm>
#include <string>

namespace chess {

void SetClockNote(MoveNotes &notes, int64_t ms) {
  DropCommands(notes, "[%clk");
  notes.comments.push_back(ClockComment(ms));
}

std::vector<int64_t> ClockNotesOf(const PgnGame &game) {
  std::vector<int64_t> left(game.moves.size(), -1);
  for (size_t ply = 0; ply < game.moves.size(); ++ply)
    for (const std::string &comment : game.NotesOf(ply).comments) {
      int64_t ms = 0;
      if (ReadClockComment(comment, ms))
        left[ply] = ms;
    }
  return left;
}

} // namespace chess
