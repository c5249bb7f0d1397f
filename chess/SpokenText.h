// The game in plain words, for a voice to say: a move ("White: knight takes
// e5, check"), the end of a game ("Checkmate. White wins."), the pieces of a
// side ("Black: king e8, rooks a8 and h8, ...") and the clocks ("White 4
// minutes 32 seconds, Black 3 minutes 5 seconds"). English words, squares as
// they are written ("e4"), which speech synthesisers read letter by digit.
#pragma once

#include "chess/CGameJudge.h"
#include "chess/Position.h"

#include <cstdint>
#include <string>

namespace chess {

class CGameRecord;

// "White" or "Black".
const char *SpokenColor(int color);
// "pawn", "rook", "bishop", "queen", "king", "knight".
const char *SpokenPiece(int type);

// A legal move of the position in words, said from the position before it:
// "White: pawn to e4", "Black: knight takes e5, check", "White: castles
// kingside", "White: pawn takes d6 en passant", "White: pawn to e8, promotes
// to queen", "White: bishop takes f7, checkmate". When another piece of the
// same kind could go to the same square, the mover's square is named:
// "White: knight from b1 to d2". "" for a move that is not legal there.
std::string SpokenMove(const Position &before, const Move &move);
// The record's last move in words; "" before the first move.
std::string SpokenLastMove(const CGameRecord &record);

// How the game ended: "Checkmate. White wins.", "Stalemate. Draw.", "Black
// resigns. White wins.", "Black loses on time. White wins.", "Draw by
// repetition." and so on; "" while it goes on. sideToMove is the side to
// move in the final position: when a flag fell, that side ran out of time.
std::string SpokenGameEnd(const GameVerdict &verdict, int sideToMove);

// The pieces of color in the position, kings first, then queens, rooks,
// bishops, knights and pawns, each kind's squares from the a-file on:
// "White: king e1, queen d1, rooks a1 and h1, ..., pawns a2, b2 and c2".
std::string SpokenPieces(const Position &position, int color);

// A time left on a clock, rounded down as its face shows it: "4 minutes 32
// seconds", "5 minutes", "1 hour 30 minutes", "45 seconds"; below ten
// seconds with tenths ("9.3 seconds").
std::string SpokenTime(int64_t ms);
// Both clocks: "White 4 minutes 32 seconds, Black 3 minutes 5 seconds".
std::string SpokenClocks(int64_t whiteMs, int64_t blackMs);

} // namespace chess
