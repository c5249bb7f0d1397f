// The position of the game the engine program is following, with its own
// legal-move generator: the program needs no help from the engine it drives
// to tell a legal move from an illegal one, so any UCI engine can play.
#pragma once

#include <string>
#include <vector>

class CBoard {
public:
  CBoard() { Reset(); }

  // Sets up the start position.
  void Reset();
  // Sets up the position of a Forsyth-Edwards text (the move counters may be
  // left out). False, with the board unchanged and error saying why, for a
  // placement that is not 8 ranks of 8 squares with one king per side and no
  // pawn on the first or last rank, or a broken side, castling or en passant.
  bool SetFen(const std::string &fen, std::string &error);
  // Plays a move in UCI text (e2e4, e7e8q, e1g1 for castling). The move is
  // assumed to be legal: check it with IsLegal or LegalMoves first.
  void Apply(const std::string &move);
  // Every legal move of the side to move, in UCI text; a promotion appears
  // once per piece (q, r, b, n).
  std::vector<std::string> LegalMoves() const;
  bool IsLegal(const std::string &move) const;
  // True if the side to move is in check.
  bool InCheck() const;
  bool WhiteToMove() const { return whiteToMove; }
  // Half-moves since the last capture or pawn move.
  int HalfMoveClock() const { return halfMoves; }
  // Equal for positions that repeat one another: pieces, side to move,
  // castling rights and en-passant square.
  std::string Key() const;
  // True if the move is a pawn capturing en passant in this position.
  bool IsEnPassant(const std::string &move) const;
  // The piece letter on a square named like "e2" (upper case white, lower
  // case black), or ' ' for an empty square or a name off the board.
  char PieceAt(const std::string &square) const;

private:
  static constexpr int SQUARE_NB = 64;
  // Castling rights, one bit each.
  enum : int { WHITE_KING_SIDE = 1, WHITE_QUEEN_SIDE = 2, BLACK_KING_SIDE = 4, BLACK_QUEEN_SIDE = 8 };

  // Moves that obey how the pieces move, ignoring whether the mover's king
  // is left attacked.
  void PseudoLegalMoves(std::vector<std::string> &moves) const;
  void AddCastling(std::vector<std::string> &moves) const;
  // True if a piece of the given side attacks square.
  bool IsAttacked(int square, bool byWhite) const;
  int KingSquare(bool white) const;

  char squares[SQUARE_NB];
  bool whiteToMove = true;
  int castling = 0;
  int epSquare = -1; // the square a pawn has just passed over, -1 for none
  int halfMoves = 0;
};

// True if text is a move in UCI long algebraic form: from-square, to-square
// and an optional promotion letter (q, r, b or n).
bool IsMoveText(const std::string &text);
