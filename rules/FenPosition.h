// Sets up a board position from Forsyth-Edwards Notation, for tools and
// tests that examine the rules on chosen positions.
#pragma once

#include "app/KelvarTypes.h"

#include <string>

class CMap;

// Places the pieces of fen on the board's 32 tokens (which must exist) and
// rebuilds the legal moves. A piece beyond the start set takes a free pawn
// slot of its colour with its kind changed; unused tokens are captured and
// stand on their sides' trays.
// Castling rights become the moved flags of king and rooks, the en-passant
// square names the pawn that may be taken. On false the board is unchanged
// and error says why.
bool LoadFen(CMap &map, const std::string &fen, irr::s32 &sideToMove, std::string &error);
