// A game's clock in its PGN record: the time left after each move as a
// "[%clk h:mm:ss]" comment, read back when the game is opened.
#pragma once

#include "chess/PgnGame.h"

#include <cstdint>
#include <vector>

namespace chess {

// Replaces any clock annotation in the move's comments by one for ms;
// a comment that held only the old one goes, the others keep their text.
void SetClockNote(MoveNotes &notes, int64_t ms);
// The time left after each ply as the game's comments give it; -1 for a
// ply without a (readable) clock annotation.
std::vector<int64_t> ClockNotesOf(const PgnGame &game);

} // namespace chess
