#include "bridge/CBoard.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace {

const char *const START_RANKS[8] = {"RNBQKBNR", "PPPPPPPP", "        ", "        ",
                                    "        ", "        ", "pppppppp", "rnbqkbnr"};

// Index of the square named at text[at], text[at+1]; -1 if it is off the board.
int SquareIndex(const std::string &text, size_t at) {
  if (text.size() < at + 2)
    return -1;
  const char file = text[at];
  const char rank = text[at + 1];
  if (file < 'a' || file > 'h' || rank < '1' || rank > '8')
    return -1;
  return (rank - '1') * 8 + (file - 'a');
}

bool IsPawn(char piece) { return piece == 'P' || piece == 'p'; }
bool IsKing(char piece) { return piece == 'K' || piece == 'k'; }

} // namespace

bool IsMoveText(const std::string &text) {
  if (text.size() != 4 && text.size() != 5)
    return false;
  if (SquareIndex(text, 0) < 0 || SquareIndex(text, 2) < 0)
    return false;
  return text.size() == 4 || strchr("qrbn", text[4]) != nullptr;
}

void CBoard::Reset() {
  for (int rank = 0; rank < 8; ++rank)
    memcpy(squares + rank * 8, START_RANKS[rank], 8);
}

bool CBoard::SetFen(const std::string &fen, std::string &error) {
  char placed[SQUARE_NB];
  memset(placed, ' ', sizeof placed);
  int rank = 7, file = 0, whiteKings = 0, blackKings = 0;
  size_t i = 0;
  for (; i < fen.size() && fen[i] != ' '; ++i) {
    const char c = fen[i];
    if (c == '/') {
      if (file != 8 || rank == 0) {
        error = "a rank does not hold 8 squares, or more than 8 ranks";
        return false;
      }
      --rank;
      file = 0;
    } else if (c >= '1' && c <= '8') {
      file += c - '0';
    } else if (strchr("PNBRQKpnbrqk", c) && file < 8) {
      if (IsPawn(c) && (rank == 0 || rank == 7)) {
        error = "a pawn on the first or last rank";
        return false;
      }
      whiteKings += c == 'K';
      blackKings += c == 'k';
      placed[rank * 8 + file++] = c;
    } else {
      error = std::string("unexpected '") + c + "' in the placement";
      return false;
    }
    if (file > 8) {
      error = "a rank holds more than 8 squares";
      return false;
    }
  }
  if (rank != 0 || file != 8) {
    error = "fewer than 8 full ranks";
    return false;
  }
  if (whiteKings != 1 || blackKings != 1) {
    error = "each side needs exactly one king";
    return false;
  }
  std::string side = i + 2 <= fen.size() ? fen.substr(i + 1, 1) : "";
  if (side != "w" && side != "b") {
    error = "the side to move is not w or b";
    return false;
  }
  memcpy(squares, placed, sizeof squares);
  return true;
}

char CBoard::PieceAt(const std::string &square) const {
  const int index = SquareIndex(square, 0);
  return index < 0 ? ' ' : squares[index];
}

bool CBoard::IsEnPassant(const std::string &move) const {
  if (!IsMoveText(move))
    return false;
  const int from = SquareIndex(move, 0);
  const int to = SquareIndex(move, 2);
  // Only en passant takes diagonally onto an empty square.
  return IsPawn(squares[from]) && from % 8 != to % 8 && squares[to] == ' ';
}

void CBoard::Apply(const std::string &move) {
  if (!IsMoveText(move))
    return;
  const int from = SquareIndex(move, 0);
  const int to = SquareIndex(move, 2);
  char piece = squares[from];
  if (IsEnPassant(move))
    squares[(from / 8) * 8 + to % 8] = ' '; // the passed pawn stands beside the mover
  if (IsKing(piece) && std::abs(from % 8 - to % 8) == 2) {
    // Castling: the rook jumps to the square the king crossed.
    const int rank = from / 8;
    const bool kingSide = to % 8 > from % 8;
    const int rookFrom = rank * 8 + (kingSide ? 7 : 0);
    const int rookTo = rank * 8 + (kingSide ? 5 : 3);
    squares[rookTo] = squares[rookFrom];
    squares[rookFrom] = ' ';
  }
  if (move.size() == 5)
    piece = isupper(static_cast<unsigned char>(piece)) ? char(toupper(move[4])) : move[4];
  squares[to] = piece;
  squares[from] = ' ';
}
