// Helpers of the chess core's tests: squares and moves from their names,
// positions from FEN, and reproducible games of random legal moves.
#pragma once

#include "chess/PgnGame.h"
#include "chess/Position.h"

#include <string>

namespace chess_testing {

// "e4" -> (4, 3); a test's own square names are taken as written.
chess::Square Sq(const char *name);
// "e2e4", "e7e8q"; fails the test for anything else.
chess::Move Uci(const std::string &text);
// The position of a FEN, failing the test when it is refused.
chess::Position FromFen(const std::string &fen);
// Plays moves given as "e2e4 e7e5 e7e8q"; false at the first one that is
// not a move or not legal where it stands.
bool PlayLine(chess::Position &position, const std::string &line);

// A game of pseudo-random legal moves from fen (empty: the standard start),
// up to plies long, under-promotions included; the result follows the end
// reached (mate, stalemate) or stays open. Tagged as Kelvar tags its games.
chess::PgnGame RandomGame(const std::string &fen, int plies, unsigned seed);

} // namespace chess_testing
