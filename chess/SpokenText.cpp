#include "chess/SpokenText.h"

#include "chess/CGameRecord.h"

#include <vector>

namespace chess {

namespace {

// The order a side's pieces are read in: the king first, the pawns last.
const int READING_ORDER[] = {King, Queen, Rook, Bishop, Knight, Pawn};

// "1 minute", "2 minutes".
std::string Count(int64_t n, const char *unit) { return std::to_string(n) + " " + unit + (n == 1 ? "" : "s"); }

// "a", "a and b", "a, b and c": a list as it is said.
std::string SpokenList(const std::vector<std::string> &items) {
  std::string text;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0)
      text += i + 1 == items.size() ? " and " : ", ";
    text += items[i];
  }
  return text;
}

// Whether another piece of the mover's kind could go to the same square, so
// that "knight to d2" would not say which knight went.
bool OtherPieceCouldGo(const Position &before, const Move &move, int type) {
  MoveList moves;
  before.GenerateLegal(moves);
  for (const MoveCode &code : moves) {
    const Move other = code.ToMove();
    int otherType = 0, otherColor = 0;
    if (other.to == move.to && other.from != move.from && before.PieceAt(other.from, otherType, otherColor) &&
        otherType == type)
      return true;
  }
  return false;
}

} // namespace

const char *SpokenColor(int color) { return color == Black ? "Black" : "White"; }

const char *SpokenPiece(int type) {
  switch (type) {
  case Pawn:
    return "pawn";
  case Rook:
    return "rook";
  case Bishop:
    return "bishop";
  case Queen:
    return "queen";
  case King:
    return "king";
  case Knight:
    return "knight";
  default:
    return "piece";
  }
}

std::string SpokenMove(const Position &before, const Move &move) {
  MoveCode code;
  int type = 0, color = 0;
  if (!before.FindLegal(move, code) || !before.PieceAt(move.from, type, color))
    return "";
  std::string text = std::string(SpokenColor(color)) + ": ";
  if (code.kind == MoveCode::Castling) {
    text += move.to.X > move.from.X ? "castles kingside" : "castles queenside";
  } else {
    text += SpokenPiece(type);
    if (OtherPieceCouldGo(before, move, type))
      text += " from " + SquareName(move.from);
    text += before.IsCapture(move) ? " takes " : " to ";
    text += SquareName(move.to);
    if (code.kind == MoveCode::EnPassant)
      text += " en passant";
    if (move.promotion != Pawn)
      text += std::string(", promotes to ") + SpokenPiece(move.promotion);
  }
  bool check = false, mate = false;
  before.CheckAfter(move, check, mate);
  if (mate)
    text += ", checkmate";
  else if (check)
    text += ", check";
  return text;
}

std::string SpokenLastMove(const CGameRecord &record) {
  const size_t plies = record.GetPlyCount();
  if (plies == 0)
    return "";
  // The record's position remembers its moves, so the one before the last
  // move is a take back away.
  Position before = record.GetPosition();
  before.UndoMove();
  return SpokenMove(before, record.GetMove(plies - 1).ToMove());
}

std::string SpokenGameEnd(const GameVerdict &verdict, int sideToMove) {
  const std::string winner = SpokenColor(verdict.winner);
  const std::string loser = SpokenColor(OtherColor(verdict.winner));
  switch (verdict.reason) {
  case GameEnd::Checkmate:
    return "Checkmate. " + winner + " wins.";
  case GameEnd::Stalemate:
    return "Stalemate. Draw.";
  case GameEnd::Repetition:
    return "Draw by repetition.";
  case GameEnd::FiftyMoves:
    return "Draw by the fifty move rule.";
  case GameEnd::InsufficientMaterial:
    return "Draw by insufficient material.";
  case GameEnd::Resignation:
    return loser + " resigns. " + winner + " wins.";
  case GameEnd::TimeForfeit:
    return loser + " loses on time. " + winner + " wins.";
  case GameEnd::TimeForfeitInsufficientMaterial:
    // Only the side to move's clock runs, so its flag is the one that fell.
    return std::string(SpokenColor(sideToMove)) + " is out of time, but " + SpokenColor(OtherColor(sideToMove)) +
           " cannot mate. Draw.";
  case GameEnd::Recorded:
    // A result from a game file that the position does not show (an
    // agreement, a resignation): only the result is known.
    return verdict.winner == GameVerdict::NO_WINNER ? "Game over. Draw." : "Game over. " + winner + " wins.";
  default:
    return "";
  }
}

std::string SpokenPieces(const Position &position, int color) {
  std::vector<std::string> squares[PIECE_TYPE_COUNT];
  for (int file = 0; file < 8; ++file)
    for (int rank = 0; rank < 8; ++rank) {
      int type = 0, owner = 0;
      const Square square(file, rank);
      if (position.PieceAt(square, type, owner) && owner == color)
        squares[type].push_back(SquareName(square));
    }
  std::string text = std::string(SpokenColor(color)) + ":";
  bool first = true;
  for (int type : READING_ORDER) {
    if (squares[type].empty())
      continue;
    text += first ? " " : ", ";
    text += SpokenPiece(type);
    if (squares[type].size() > 1)
      text += "s";
    text += " " + SpokenList(squares[type]);
    first = false;
  }
  return text;
}

std::string SpokenTime(int64_t ms) {
  if (ms < 0)
    ms = 0;
  if (ms < 10000) {
    const int64_t tenths = ms / 100;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " seconds";
  }
  const int64_t seconds = ms / 1000;
  std::vector<std::string> parts;
  if (seconds >= 3600)
    parts.push_back(Count(seconds / 3600, "hour"));
  if (seconds / 60 % 60 > 0)
    parts.push_back(Count(seconds / 60 % 60, "minute"));
  if (seconds % 60 > 0)
    parts.push_back(Count(seconds % 60, "second"));
  std::string text;
  for (const std::string &part : parts)
    text += (text.empty() ? "" : " ") + part;
  return text;
}

std::string SpokenClocks(int64_t whiteMs, int64_t blackMs) {
  return "White " + SpokenTime(whiteMs) + ", Black " + SpokenTime(blackMs);
}

} // namespace chess
