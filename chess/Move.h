// A move as the game, the notation and the files exchange it: from-square,
// to-square and the piece a pawn becomes on the last rank.
#pragma once

#include "chess/Types.h"

#include <string>

namespace chess {

struct Move {
  Square from;
  Square to;
  // Kind a promoting pawn becomes (Queen, Rook, Bishop, Knight); Pawn when
  // the move is no promotion.
  int promotion = Pawn;

  Move() = default;
  Move(const Square &f, const Square &t, int promo = Pawn) : from(f), to(t), promotion(promo) {}

  bool operator==(const Move &o) const { return from == o.from && to == o.to && promotion == o.promotion; }
  bool operator!=(const Move &o) const { return !(*this == o); }

  // Long algebraic form as UCI engines speak it: "e2e4", "e7e8q".
  std::string ToUci() const;
  // Reads the long algebraic form; false for anything else.
  static bool FromUci(const std::string &text, Move &move);
};

// "e4" for (4, 3).
std::string SquareName(const Square &square);
// Reads "e4"; false for anything that is not a square name.
bool SquareFromName(const std::string &name, Square &square);
// True if text is a move in UCI long algebraic form: from-square, to-square
// and an optional promotion letter (q, r, b or n).
bool IsMoveText(const std::string &text);

} // namespace chess
