// Where the pieces stand in the game the bridge is following: enough to tell
// an en-passant capture or a promotion apart from other moves.
#pragma once

#include <string>

class CBoard {
public:
  CBoard() { Reset(); }

  // Sets up the start position.
  void Reset();
  // Sets up the piece placement of a FEN (its first field; the rest is for
  // Stockfish). False, with the board unchanged and error saying why, for a
  // placement that is not 8 ranks of 8 squares with one king per side and no
  // pawn on the first or last rank.
  bool SetFen(const std::string &fen, std::string &error);
  // Plays a move in UCI text (e2e4, e7e8q, e1g1 for castling). The move is
  // assumed to be legal: Stockfish has accepted it.
  void Apply(const std::string &move);
  // True if the move is a pawn capturing en passant in this position.
  bool IsEnPassant(const std::string &move) const;
  // The piece letter on a square named like "e2" (upper case white, lower
  // case black), or ' ' for an empty square or a name off the board.
  char PieceAt(const std::string &square) const;

private:
  static constexpr int SQUARE_NB = 64;
  char squares[SQUARE_NB];
};

// True if text is a move in UCI long algebraic form: from-square, to-square
// and an optional promotion letter (q, r, b or n).
bool IsMoveText(const std::string &text);
