// Standard Algebraic Notation: a move in a position written as players and
// PGN files write it ("Nf3", "exd6", "Rad1", "O-O", "e8=Q#"), and read back.
#pragma once

#include "chess/Position.h"

#include <string>
#include <vector>

namespace chess {

class CSanNotation {
public:
  // The move, which must be legal in the position, in standard notation with
  // its check ("+") or mate ("#") mark.
  static std::string ToSan(const Position &position, const Move &move);

  // Finds the legal move that text names. Reading is forgiving as PGN readers
  // are: "0-0" for "O-O", a missing or extra "+" or "#", "e8Q" for "e8=Q", a
  // promotion without its piece as a queen, annotation marks such as "!?"
  // after the move. On false error says why (unknown piece letter, illegal
  // or ambiguous move).
  static bool FromSan(const Position &position, const std::string &text, Move &move, std::string &error);
  // Every legal move text could name, read as forgivingly as FromSan (none
  // for an illegal move, several for an ambiguous one). False, with error,
  // only for a text that is no move at all.
  static bool Candidates(const Position &position, const std::string &text, std::vector<Move> &moves,
                         std::string &error);
};

} // namespace chess
