// A move as the rules and the files exchange it: from-square, to-square and
// the piece a pawn becomes on the last rank.
#pragma once

#include "app/KelvarTypes.h"

#include <string>

struct ChessMove {
  BoardSquare from;
  BoardSquare to;
  // Kind a promoting pawn becomes (Queen, Rook, Bishop, Knight); Pawn when
  // the move is no promotion.
  irr::s32 promotion = Pawn;

  bool operator==(const ChessMove &o) const { return from == o.from && to == o.to && promotion == o.promotion; }
  bool operator!=(const ChessMove &o) const { return !(*this == o); }

  // Long algebraic form as the engine speaks it: "e2e4", "e7e8q".
  std::string ToUci() const;
  // Reads the long algebraic form; false for anything else.
  static bool FromUci(const std::string &text, ChessMove &move);
};

// "e4" for (4, 3).
std::string SquareName(const BoardSquare &square);
