// The plain values of chess: colours, piece kinds and squares.
#pragma once

namespace chess {

// Colour codes.
enum Color : int { White = 0, Black = 1 };

inline int OtherColor(int c) { return c == White ? Black : White; }

// Piece kinds, in the order the game has always used (the knight last).
enum PieceType : int { Pawn = 0, Rook = 1, Bishop = 2, Queen = 3, King = 4, Knight = 5 };

constexpr int PIECE_TYPE_COUNT = 6;

// The letter of a piece kind: "prbqkn" in PieceType order, '?' for others.
char PieceLetter(int type);
// The kind of a piece letter of either case; false for any other letter.
bool PieceTypeOfLetter(char letter, int &type);

// A board coordinate: X is the file (0 = "a"), Y the rank (0 = "1").
struct Square {
  int X = 0;
  int Y = 0;

  Square() = default;
  Square(int x, int y) : X(x), Y(y) {}

  bool operator==(const Square &o) const { return X == o.X && Y == o.Y; }
  bool operator!=(const Square &o) const { return !(*this == o); }
  Square operator+(const Square &step) const { return {X + step.X, Y + step.Y}; }
  bool IsOnBoard() const { return X >= 0 && X <= 7 && Y >= 0 && Y <= 7; }
  // 0..63, a1 = 0, b1 = 1, ..., h8 = 63; only for squares on the board.
  int Index() const { return Y * 8 + X; }
  static Square FromIndex(int index) { return {index % 8, index / 8}; }
};

} // namespace chess
