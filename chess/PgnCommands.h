// The commands programs embed in PGN comments ("[%clk 0:04:57]",
// "[%eval 0.31]"): taking those of one kind out of a move's comments before
// writing new ones.
#pragma once

#include "chess/PgnGame.h"

#include <string>

namespace chess {

// Removes every command that starts with mark ("[%clk", "[%eval") from the
// move's comments, with the blanks it leaves; a comment that held nothing
// else goes, the others keep their text.
void DropCommands(MoveNotes &notes, const std::string &mark);

} // namespace chess
