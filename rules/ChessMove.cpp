#include "rules/ChessMove.h"

namespace {

const char PROMOTION_LETTERS[] = "prbqkn"; // in TokenType order

bool ReadSquare(const std::string &text, size_t at, BoardSquare &square) {
  square = BoardSquare(text[at] - 'a', text[at + 1] - '1');
  return square.IsOnBoard();
}

} // namespace

std::string SquareName(const BoardSquare &square) { return {char('a' + square.X), char('1' + square.Y)}; }

std::string ChessMove::ToUci() const {
  std::string text = SquareName(from) + SquareName(to);
  if (promotion != Pawn && promotion >= Pawn && promotion <= Knight)
    text += PROMOTION_LETTERS[promotion];
  return text;
}

bool ChessMove::FromUci(const std::string &text, ChessMove &move) {
  if (text.size() != 4 && text.size() != 5)
    return false;
  ChessMove read;
  if (!ReadSquare(text, 0, read.from) || !ReadSquare(text, 2, read.to))
    return false;
  if (text.size() == 5) {
    switch (text[4]) {
    case 'q':
      read.promotion = Queen;
      break;
    case 'r':
      read.promotion = Rook;
      break;
    case 'b':
      read.promotion = Bishop;
      break;
    case 'n':
      read.promotion = Knight;
      break;
    default:
      return false;
    }
  }
  move = read;
  return true;
}
