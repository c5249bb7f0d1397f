#include "chess/Move.h"

namespace chess {

namespace {

const char PIECE_LETTERS[] = "prbqkn"; // in PieceType order

} // namespace

char PieceLetter(int type) { return type >= Pawn && type <= Knight ? PIECE_LETTERS[type] : '?'; }

bool PieceTypeOfLetter(char letter, int &type) {
  const char lower = letter >= 'A' && letter <= 'Z' ? char(letter - 'A' + 'a') : letter;
  for (int t = Pawn; t <= Knight; ++t)
    if (PIECE_LETTERS[t] == lower) {
      type = t;
      return true;
    }
  return false;
}

std::string SquareName(const Square &square) { return {char('a' + square.X), char('1' + square.Y)}; }

bool SquareFromName(const std::string &name, Square &square) {
  if (name.size() != 2)
    return false;
  const Square read(name[0] - 'a', name[1] - '1');
  if (!read.IsOnBoard())
    return false;
  square = read;
  return true;
}

std::string Move::ToUci() const {
  std::string text = SquareName(from) + SquareName(to);
  if (promotion != Pawn && promotion != King && promotion >= Pawn && promotion <= Knight)
    text += PieceLetter(promotion);
  return text;
}

bool Move::FromUci(const std::string &text, Move &move) {
  if (text.size() != 4 && text.size() != 5)
    return false;
  Move read;
  if (!SquareFromName(text.substr(0, 2), read.from) || !SquareFromName(text.substr(2, 2), read.to))
    return false;
  if (text.size() == 5) {
    int kind = Pawn;
    // Only the lower-case letters of the four promotion pieces, as UCI writes them.
    if (text[4] < 'a' || !PieceTypeOfLetter(text[4], kind) || kind == Pawn || kind == King)
      return false;
    read.promotion = kind;
  }
  move = read;
  return true;
}

bool IsMoveText(const std::string &text) {
  Move unused;
  return Move::FromUci(text, unused);
}

} // namespace chess
