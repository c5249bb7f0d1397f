#include "bridge/CBoard.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace {

const char *const START_FEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

// Steps as (file, rank) differences.
const int KNIGHT_STEPS[8][2] = {{1, 2}, {2, 1}, {2, -1}, {1, -2}, {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}};
const int KING_STEPS[8][2] = {{1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};
const int ROOK_STEPS[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
const int BISHOP_STEPS[4][2] = {{1, 1}, {1, -1}, {-1, 1}, {-1, -1}};
const char PROMOTION_PIECES[] = "qrbn";

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

std::string SquareName(int square) { return {char('a' + square % 8), char('1' + square / 8)}; }

// The square at (file, rank) from square, or -1 off the board.
int Step(int square, int dFile, int dRank) {
  const int file = square % 8 + dFile;
  const int rank = square / 8 + dRank;
  return file < 0 || file > 7 || rank < 0 || rank > 7 ? -1 : rank * 8 + file;
}

bool IsWhite(char piece) { return piece >= 'A' && piece <= 'Z'; }
bool IsBlack(char piece) { return piece >= 'a' && piece <= 'z'; }
bool IsOwn(char piece, bool white) { return white ? IsWhite(piece) : IsBlack(piece); }
bool IsPawn(char piece) { return piece == 'P' || piece == 'p'; }
bool IsKing(char piece) { return piece == 'K' || piece == 'k'; }
// The piece of kind (lower-case letter) for a side.
char PieceOf(char kind, bool white) { return white ? char(toupper(kind)) : kind; }

} // namespace

bool IsMoveText(const std::string &text) {
  if (text.size() != 4 && text.size() != 5)
    return false;
  if (SquareIndex(text, 0) < 0 || SquareIndex(text, 2) < 0)
    return false;
  return text.size() == 4 || strchr(PROMOTION_PIECES, text[4]) != nullptr;
}

void CBoard::Reset() {
  std::string error;
  SetFen(START_FEN, error);
}

bool CBoard::SetFen(const std::string &fen, std::string &error) {
  std::istringstream fields(fen);
  std::string placement, side, rights = "-", ep = "-";
  int clock = 0;
  if (!(fields >> placement >> side)) {
    error = "a position needs at least the pieces and the side to move";
    return false;
  }
  fields >> rights >> ep >> clock;

  char placed[SQUARE_NB];
  memset(placed, ' ', sizeof(placed));
  int rank = 7, file = 0;
  for (char c : placement) {
    if (c == '/') {
      if (file != 8 || rank == 0) {
        error = "rank " + std::to_string(rank + 1) + " does not hold eight squares";
        return false;
      }
      --rank;
      file = 0;
    } else if (c >= '1' && c <= '8') {
      file += c - '0';
    } else if (strchr("pnbrqkPNBRQK", c) && file < 8) {
      if (IsPawn(c) && (rank == 0 || rank == 7)) {
        error = "a pawn on the first or last rank";
        return false;
      }
      placed[rank * 8 + file++] = c;
    } else {
      error = std::string("unexpected '") + c + "' in the piece placement";
      return false;
    }
    if (file > 8) {
      error = "rank " + std::to_string(rank + 1) + " holds more than eight squares";
      return false;
    }
  }
  if (rank != 0 || file != 8) {
    error = "the piece placement does not cover eight ranks";
    return false;
  }
  if (std::count(placed, placed + SQUARE_NB, 'K') != 1 || std::count(placed, placed + SQUARE_NB, 'k') != 1) {
    error = "each side needs exactly one king";
    return false;
  }
  if (side != "w" && side != "b") {
    error = "the side to move is \"" + side + "\", not w or b";
    return false;
  }
  int rightBits = 0;
  if (rights != "-") {
    for (char c : rights) {
      const char *at = strchr("KQkq", c);
      if (!at) {
        error = "castling rights \"" + rights + "\" are not made of K, Q, k, q";
        return false;
      }
      rightBits |= 1 << (at - "KQkq");
    }
  }
  const int epAt = ep == "-" ? -1 : SquareIndex(ep, 0);
  if (ep != "-" && (epAt < 0 || ep.size() != 2)) {
    error = "en-passant square \"" + ep + "\" is not a square";
    return false;
  }

  memcpy(squares, placed, sizeof(squares));
  whiteToMove = side == "w";
  // A right whose king or rook has left home cannot be used.
  castling = rightBits;
  if (squares[4] != 'K')
    castling &= ~(WHITE_KING_SIDE | WHITE_QUEEN_SIDE);
  if (squares[7] != 'R')
    castling &= ~WHITE_KING_SIDE;
  if (squares[0] != 'R')
    castling &= ~WHITE_QUEEN_SIDE;
  if (squares[60] != 'k')
    castling &= ~(BLACK_KING_SIDE | BLACK_QUEEN_SIDE);
  if (squares[63] != 'r')
    castling &= ~BLACK_KING_SIDE;
  if (squares[56] != 'r')
    castling &= ~BLACK_QUEEN_SIDE;
  epSquare = epAt;
  halfMoves = clock < 0 ? 0 : clock;
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
  const bool resetsClock = IsPawn(piece) || squares[to] != ' ';
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
    piece = PieceOf(move[4], IsWhite(piece));
  squares[to] = piece;
  squares[from] = ' ';

  // A right goes when its king or rook moves, or the rook is taken at home.
  for (int square : {from, to}) {
    if (square == 4)
      castling &= ~(WHITE_KING_SIDE | WHITE_QUEEN_SIDE);
    else if (square == 7)
      castling &= ~WHITE_KING_SIDE;
    else if (square == 0)
      castling &= ~WHITE_QUEEN_SIDE;
    else if (square == 60)
      castling &= ~(BLACK_KING_SIDE | BLACK_QUEEN_SIDE);
    else if (square == 63)
      castling &= ~BLACK_KING_SIDE;
    else if (square == 56)
      castling &= ~BLACK_QUEEN_SIDE;
  }
  epSquare = IsPawn(piece) && std::abs(to - from) == 16 ? (from + to) / 2 : -1;
  halfMoves = resetsClock ? 0 : halfMoves + 1;
  whiteToMove = !whiteToMove;
}

bool CBoard::IsAttacked(int square, bool byWhite) const {
  // Look outwards from the square for each kind of attacker.
  const int pawnRank = byWhite ? -1 : 1; // an attacking pawn stands behind the square
  for (int dFile : {-1, 1}) {
    const int at = Step(square, dFile, pawnRank);
    if (at >= 0 && squares[at] == PieceOf('p', byWhite))
      return true;
  }
  for (const auto &step : KNIGHT_STEPS) {
    const int at = Step(square, step[0], step[1]);
    if (at >= 0 && squares[at] == PieceOf('n', byWhite))
      return true;
  }
  for (const auto &step : KING_STEPS) {
    const int at = Step(square, step[0], step[1]);
    if (at >= 0 && squares[at] == PieceOf('k', byWhite))
      return true;
  }
  const auto slides = [&](const int(*steps)[2], char kind) {
    for (int i = 0; i < 4; ++i) {
      for (int at = Step(square, steps[i][0], steps[i][1]); at >= 0; at = Step(at, steps[i][0], steps[i][1])) {
        const char piece = squares[at];
        if (piece == ' ')
          continue;
        if (piece == PieceOf(kind, byWhite) || piece == PieceOf('q', byWhite))
          return true;
        break;
      }
    }
    return false;
  };
  return slides(ROOK_STEPS, 'r') || slides(BISHOP_STEPS, 'b');
}

int CBoard::KingSquare(bool white) const {
  const char *at = std::find(squares, squares + SQUARE_NB, PieceOf('k', white));
  return at == squares + SQUARE_NB ? -1 : int(at - squares);
}

bool CBoard::InCheck() const {
  const int king = KingSquare(whiteToMove);
  return king >= 0 && IsAttacked(king, !whiteToMove);
}

void CBoard::PseudoLegalMoves(std::vector<std::string> &moves) const {
  const bool white = whiteToMove;
  const auto add = [&](int from, int to) { moves.push_back(SquareName(from) + SquareName(to)); };
  const auto addPawn = [&](int from, int to) {
    if (to / 8 == 0 || to / 8 == 7) {
      for (const char *kind = PROMOTION_PIECES; *kind; ++kind)
        moves.push_back(SquareName(from) + SquareName(to) + *kind);
    } else {
      add(from, to);
    }
  };
  const auto leaps = [&](int from, const int(*steps)[2], int count) {
    for (int i = 0; i < count; ++i) {
      const int to = Step(from, steps[i][0], steps[i][1]);
      if (to >= 0 && !IsOwn(squares[to], white))
        add(from, to);
    }
  };
  const auto slides = [&](int from, const int(*steps)[2]) {
    for (int i = 0; i < 4; ++i) {
      for (int to = Step(from, steps[i][0], steps[i][1]); to >= 0; to = Step(to, steps[i][0], steps[i][1])) {
        if (IsOwn(squares[to], white))
          break;
        add(from, to);
        if (squares[to] != ' ')
          break;
      }
    }
  };

  const int forward = white ? 1 : -1;
  const int homeRank = white ? 1 : 6;
  for (int from = 0; from < SQUARE_NB; ++from) {
    const char piece = squares[from];
    if (!IsOwn(piece, white))
      continue;
    switch (tolower(piece)) {
    case 'p': {
      const int one = Step(from, 0, forward);
      if (one >= 0 && squares[one] == ' ') {
        addPawn(from, one);
        const int two = Step(one, 0, forward);
        if (from / 8 == homeRank && squares[two] == ' ')
          add(from, two);
      }
      for (int dFile : {-1, 1}) {
        const int to = Step(from, dFile, forward);
        if (to >= 0 && (IsOwn(squares[to], !white) || to == epSquare))
          addPawn(from, to);
      }
      break;
    }
    case 'n':
      leaps(from, KNIGHT_STEPS, 8);
      break;
    case 'k':
      leaps(from, KING_STEPS, 8);
      break;
    case 'r':
      slides(from, ROOK_STEPS);
      break;
    case 'b':
      slides(from, BISHOP_STEPS);
      break;
    case 'q':
      slides(from, ROOK_STEPS);
      slides(from, BISHOP_STEPS);
      break;
    }
  }
  AddCastling(moves);
}

void CBoard::AddCastling(std::vector<std::string> &moves) const {
  const bool white = whiteToMove;
  const int king = white ? 4 : 60;
  const int kingSide = white ? WHITE_KING_SIDE : BLACK_KING_SIDE;
  const int queenSide = white ? WHITE_QUEEN_SIDE : BLACK_QUEEN_SIDE;
  if (!(castling & (kingSide | queenSide)) || IsAttacked(king, !white))
    return; // no castling out of check
  // The squares between king and rook are empty, and the king does not cross
  // an attacked square; its target square is judged like any other move.
  if ((castling & kingSide) && squares[king + 1] == ' ' && squares[king + 2] == ' ' && !IsAttacked(king + 1, !white))
    moves.push_back(SquareName(king) + SquareName(king + 2));
  if ((castling & queenSide) && squares[king - 1] == ' ' && squares[king - 2] == ' ' && squares[king - 3] == ' ' &&
      !IsAttacked(king - 1, !white))
    moves.push_back(SquareName(king) + SquareName(king - 2));
}

std::vector<std::string> CBoard::LegalMoves() const {
  std::vector<std::string> candidates;
  PseudoLegalMoves(candidates);
  std::vector<std::string> legal;
  for (const std::string &move : candidates) {
    CBoard after = *this;
    after.Apply(move);
    const int king = after.KingSquare(whiteToMove);
    if (king >= 0 && !after.IsAttacked(king, !whiteToMove))
      legal.push_back(move);
  }
  return legal;
}

bool CBoard::IsLegal(const std::string &move) const {
  const std::vector<std::string> legal = LegalMoves();
  return std::find(legal.begin(), legal.end(), move) != legal.end();
}

std::string CBoard::Key() const {
  std::string key(squares, SQUARE_NB);
  key += whiteToMove ? 'w' : 'b';
  key += char('A' + castling);
  // The en-passant square counts only when a capture there is possible.
  if (epSquare >= 0) {
    const char pawn = PieceOf('p', whiteToMove);
    const int behind = whiteToMove ? -1 : 1;
    for (int dFile : {-1, 1}) {
      const int at = Step(epSquare, dFile, behind);
      if (at >= 0 && squares[at] == pawn)
        return key + SquareName(epSquare);
    }
  }
  return key;
}
