#include "chess/CSanNotation.h"

#include <cctype>
#include <cstdlib>

namespace chess {

namespace {

const char PIECE_LETTERS[] = "PRBQKN"; // in PieceType order, as SAN writes them

bool IsCastling(int type, const Move &move) {
  return type == King && move.from.Y == move.to.Y && std::abs(move.to.X - move.from.X) == 2;
}

// Piece kind of an upper-case letter; false for any other letter.
bool KindOfLetter(char letter, int &type) {
  for (int t = Pawn; t <= Knight; ++t)
    if (PIECE_LETTERS[t] == letter) {
      type = t;
      return true;
    }
  return false;
}

// Drops what may follow a move: check and mate marks, annotation marks.
std::string StripSuffixes(std::string text) {
  while (!text.empty() && (text.back() == '+' || text.back() == '#' || text.back() == '!' || text.back() == '?'))
    text.pop_back();
  return text;
}

// What a written move asks for; -1 where it does not say.
struct Wanted {
  int type = Pawn;
  int fromFile = -1, fromRank = -1;
  Square to;
  int promotion = Pawn; // Pawn: no promotion piece written
  bool castling = false;
  bool kingside = false;
};

bool Parse(const std::string &raw, Wanted &wanted, std::string &error) {
  std::string text = StripSuffixes(raw);
  if (text == "O-O" || text == "0-0" || text == "O-O-O" || text == "0-0-0") {
    wanted.castling = true;
    wanted.kingside = text.size() == 3;
    wanted.type = King;
    return true;
  }
  if (text.empty()) {
    error = "empty move";
    return false;
  }
  size_t at = 0;
  if (std::isupper(static_cast<unsigned char>(text[0]))) {
    if (!KindOfLetter(text[0], wanted.type)) {
      error = std::string("unknown piece letter '") + text[0] + "'";
      return false;
    }
    at = 1;
  }
  // Promotion at the end: "=Q", or a bare piece letter after the rank.
  const size_t last = text.size() - 1;
  if (text.size() >= 2 && std::isalpha(static_cast<unsigned char>(text[last])) &&
      (text[last - 1] == '=' || std::isdigit(static_cast<unsigned char>(text[last - 1])))) {
    const char letter = char(std::toupper(static_cast<unsigned char>(text[last])));
    if (!KindOfLetter(letter, wanted.promotion) || wanted.promotion == Pawn || wanted.promotion == King) {
      error = std::string("unknown promotion piece '") + text[last] + "'";
      return false;
    }
    text.erase(text[last - 1] == '=' ? last - 1 : last);
  }
  // The rest: optional origin file and rank, an optional capture mark, and
  // the target square last.
  std::string squares;
  for (size_t i = at; i < text.size(); ++i) {
    const char c = text[i];
    if (c == 'x' || c == ':' || c == '-')
      continue;
    if ((c >= 'a' && c <= 'h') || (c >= '1' && c <= '8')) {
      squares += c;
      continue;
    }
    error = std::string("unexpected character '") + c + "'";
    return false;
  }
  if (squares.size() < 2 || squares.size() > 4) {
    error = "no target square";
    return false;
  }
  wanted.to = Square(squares[squares.size() - 2] - 'a', squares[squares.size() - 1] - '1');
  if (!wanted.to.IsOnBoard()) {
    error = "no target square";
    return false;
  }
  for (size_t i = 0; i + 2 < squares.size(); ++i) {
    if (squares[i] >= 'a' && squares[i] <= 'h' && wanted.fromFile < 0)
      wanted.fromFile = squares[i] - 'a';
    else if (squares[i] >= '1' && squares[i] <= '8' && wanted.fromRank < 0)
      wanted.fromRank = squares[i] - '1';
    else {
      error = "unreadable origin square";
      return false;
    }
  }
  return true;
}

// Whether a legal move (of the wanted piece kind) is the one written.
bool Matches(const Wanted &wanted, const Move &legal, int type) {
  if (wanted.castling)
    return IsCastling(type, legal) && (legal.to.X > legal.from.X) == wanted.kingside;
  if (legal.to != wanted.to || (wanted.fromFile >= 0 && legal.from.X != wanted.fromFile) ||
      (wanted.fromRank >= 0 && legal.from.Y != wanted.fromRank))
    return false;
  // Each promotion is listed once per piece: the written piece picks one,
  // and a promotion written without its piece is the queen's.
  if (wanted.promotion != Pawn)
    return legal.promotion == wanted.promotion;
  return legal.promotion == Pawn || legal.promotion == Queen;
}

} // namespace

std::string CSanNotation::ToSan(const Position &position, const Move &move) {
  int type = Pawn, color = White;
  position.PieceAt(move.from, type, color);
  std::string san;
  if (IsCastling(type, move)) {
    san = move.to.X > move.from.X ? "O-O" : "O-O-O";
  } else {
    const bool capture = position.IsCapture(move);
    if (type == Pawn) {
      if (capture)
        san += char('a' + move.from.X);
    } else {
      san += PIECE_LETTERS[type];
      // Other pieces of the same kind that could go to the same square ask
      // for the origin's file, else its rank, else both. Only pawns promote,
      // so no piece here has its move listed more than once.
      bool rival = false, sameFile = false, sameRank = false;
      MoveList legal;
      position.GenerateLegal(legal);
      for (const MoveCode &code : legal) {
        const Move other = code.ToMove();
        int otherType, otherColor;
        if (other.to != move.to || other.from == move.from || !position.PieceAt(other.from, otherType, otherColor) ||
            otherType != type)
          continue;
        rival = true;
        sameFile = sameFile || other.from.X == move.from.X;
        sameRank = sameRank || other.from.Y == move.from.Y;
      }
      if (rival && (!sameFile || sameRank))
        san += char('a' + move.from.X);
      if (rival && sameFile)
        san += char('1' + move.from.Y);
    }
    if (capture)
      san += 'x';
    san += SquareName(move.to);
    if (move.promotion != Pawn) {
      san += '=';
      san += PIECE_LETTERS[move.promotion];
    }
  }
  bool check = false, mate = false;
  position.CheckAfter(move, check, mate);
  if (mate)
    san += '#';
  else if (check)
    san += '+';
  return san;
}

bool CSanNotation::Candidates(const Position &position, const std::string &text, std::vector<Move> &moves,
                              std::string &error) {
  moves.clear();
  Wanted wanted;
  if (!Parse(text, wanted, error))
    return false;
  MoveList legal;
  position.GenerateLegal(legal);
  for (const MoveCode &code : legal) {
    const Move candidate = code.ToMove();
    int type, color;
    position.PieceAt(candidate.from, type, color);
    if (type == wanted.type && Matches(wanted, candidate, type))
      moves.push_back(candidate);
  }
  return true;
}

bool CSanNotation::FromSan(const Position &position, const std::string &text, Move &move, std::string &error) {
  std::vector<Move> matches;
  if (!Candidates(position, text, matches, error))
    return false;
  if (matches.empty()) {
    error = "illegal move \"" + text + "\"";
    return false;
  }
  if (matches.size() > 1) {
    error = "ambiguous move \"" + text + "\"";
    return false;
  }
  move = matches.front();
  return true;
}

} // namespace chess
