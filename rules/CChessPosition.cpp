#include "rules/CChessPosition.h"

#include "rules/CBoardSnapshot.h"
#include "rules/CGameToken.h"
#include "rules/FenPosition.h"

#include <cstdlib>
#include <sstream>

namespace {

constexpr irr::s32 MAX_COUNTER = 1000000;
const char PIECE_LETTERS[] = "prbqkn"; // in TokenType order

// Reads a move counter field; absent means fallback.
bool ReadCounter(std::istringstream &fields, irr::s32 low, irr::s32 fallback, irr::s32 &value) {
  std::string text;
  if (!(fields >> text)) {
    value = fallback;
    return true;
  }
  char *end = nullptr;
  const long number = std::strtol(text.c_str(), &end, 10);
  if (end == text.c_str() || *end != '\0' || number < low || number > MAX_COUNTER)
    return false;
  value = irr::s32(number);
  return true;
}

} // namespace

const char *const CChessPosition::START_FEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

CChessPosition::CChessPosition() {
  board.InitRuleTokens();
  std::string error;
  SetFen(START_FEN, error);
}

bool CChessPosition::SetFen(const std::string &fen, std::string &error) {
  // The counters are checked before the board is touched.
  std::istringstream fields(fen);
  std::string skipped;
  for (int i = 0; i < 4; ++i)
    fields >> skipped;
  irr::s32 halfMoves = 0, fullMoves = 1;
  if (!ReadCounter(fields, 0, 0, halfMoves) || !ReadCounter(fields, 1, 1, fullMoves)) {
    error = "move counters: not whole numbers in range";
    return false;
  }
  if (fields >> skipped) {
    error = "more than six fields";
    return false;
  }
  irr::s32 side = White;
  if (!LoadFen(board, fen, side, error))
    return false;
  sideToMove = side;
  halfMoveClock = halfMoves;
  fullMoveNumber = fullMoves;
  return true;
}

std::string CChessPosition::GetFen() const {
  std::string fen;
  for (irr::s32 y = 7; y >= 0; --y) {
    int empty = 0;
    for (irr::s32 x = 0; x < 8; ++x) {
      irr::s32 type, color;
      if (!PieceAt(BoardSquare(x, y), type, color)) {
        ++empty;
        continue;
      }
      if (empty)
        fen += char('0' + empty);
      empty = 0;
      const char letter = PIECE_LETTERS[type];
      fen += color == White ? char(letter - 'a' + 'A') : letter;
    }
    if (empty)
      fen += char('0' + empty);
    if (y > 0)
      fen += '/';
  }
  fen += sideToMove == White ? " w " : " b ";

  // A right is kept while king and rook stand unmoved on their squares.
  auto unmoved = [&](irr::s32 x, irr::s32 y, irr::s32 type, irr::s32 color) {
    irr::s32 i = -1;
    if (!board.FindTokenAt(BoardSquare(x, y), i))
      return false;
    const CGameToken *token = board.GetToken(i);
    return token->GetType() == type && token->GetColor() == color && !token->HasMoved();
  };
  std::string castling;
  for (irr::s32 color : {White, Black}) {
    const irr::s32 rank = color == White ? 0 : 7;
    if (!unmoved(4, rank, King, color))
      continue;
    if (unmoved(7, rank, Rook, color))
      castling += color == White ? 'K' : 'k';
    if (unmoved(0, rank, Rook, color))
      castling += color == White ? 'Q' : 'q';
  }
  fen += castling.empty() ? "-" : castling;

  const irr::s32 passed = board.GetEnPassantPawn();
  if (passed >= 0 && passed < CMap::TOKEN_COUNT && !board.GetToken(passed)->IsCaptured()) {
    const CGameToken *pawn = board.GetToken(passed);
    const BoardSquare behind(pawn->GetSquare().X, pawn->GetSquare().Y + (pawn->GetColor() == White ? -1 : 1));
    fen += " " + SquareName(behind);
  } else {
    fen += " -";
  }
  fen += " " + std::to_string(halfMoveClock) + " " + std::to_string(fullMoveNumber);
  return fen;
}

std::vector<ChessMove> CChessPosition::LegalMoves() const {
  std::vector<ChessMove> moves;
  for (irr::s32 i = 0; i < CMap::TOKEN_COUNT; ++i) {
    CGameToken *token = board.GetToken(i);
    if (token->IsCaptured() || token->GetColor() != sideToMove)
      continue;
    const irr::s32 lastRank = sideToMove == White ? 7 : 0;
    for (const BoardSquare &target : token->GetTargets()) {
      ChessMove move;
      move.from = token->GetSquare();
      move.to = target;
      if (token->GetType() == Pawn && target.Y == lastRank)
        move.promotion = Queen;
      moves.push_back(move);
    }
  }
  return moves;
}

bool CChessPosition::IsLegal(const ChessMove &move) const {
  // A promotion is listed as the queen's; any of the four pieces may be named.
  const bool promotes =
      move.promotion == Queen || move.promotion == Rook || move.promotion == Bishop || move.promotion == Knight;
  for (const ChessMove &legal : LegalMoves())
    if (legal.from == move.from && legal.to == move.to &&
        (legal.promotion == move.promotion || (legal.promotion == Queen && promotes)))
      return true;
  return false;
}

bool CChessPosition::Play(const ChessMove &move) {
  if (!IsLegal(move))
    return false;
  irr::s32 i = -1;
  board.FindTokenAt(move.from, i);
  const bool resetsClock = board.GetToken(i)->GetType() == Pawn || IsCapture(move);
  board.SelectToken(i);
  bool promoted = false;
  const bool played = board.ExecuteMove(move.to, promoted, move.promotion == Pawn ? Queen : move.promotion);
  board.ClearSelection();
  if (!played)
    return false;
  halfMoveClock = resetsClock ? 0 : halfMoveClock + 1;
  if (sideToMove == Black)
    ++fullMoveNumber;
  sideToMove = OtherColor(sideToMove);
  return true;
}

bool CChessPosition::IsInCheck() const {
  irr::s32 king = -1;
  return board.IsKingAttacked(board.GetTokens(), sideToMove, king);
}

bool CChessPosition::IsCheckmate() const { return board.IsMate(sideToMove); }

bool CChessPosition::IsStalemate() const { return !IsInCheck() && LegalMoves().empty(); }

bool CChessPosition::PieceAt(const BoardSquare &square, irr::s32 &type, irr::s32 &color) const {
  irr::s32 i = -1;
  if (!square.IsOnBoard() || !board.FindTokenAt(square, i))
    return false;
  type = board.GetToken(i)->GetType();
  color = board.GetToken(i)->GetColor();
  return true;
}

bool CChessPosition::IsCapture(const ChessMove &move) const {
  irr::s32 type, color, moverType, moverColor;
  if (PieceAt(move.to, type, color))
    return true;
  // A pawn stepping diagonally onto an empty square takes en passant.
  return PieceAt(move.from, moverType, moverColor) && moverType == Pawn && move.from.X != move.to.X;
}

void CChessPosition::CheckAfter(const ChessMove &move, bool &check, bool &mate) {
  check = mate = false;
  CBoardSnapshot before;
  before.Take(board);
  const irr::s32 side = sideToMove, halfMoves = halfMoveClock, fullMoves = fullMoveNumber;
  if (Play(move)) {
    check = IsInCheck();
    mate = check && IsCheckmate();
  }
  before.Restore(board);
  sideToMove = side;
  halfMoveClock = halfMoves;
  fullMoveNumber = fullMoves;
}
