#include "rules/CGameRecord.h"

#include "rules/CGameToken.h"
#include "rules/TargetGenerator.h"
#include "scene/CMap.h"

#include <algorithm>
#include <cstdlib>

using rules_detail::BackRank;
using rules_detail::BOARD_SIZE;

namespace {

const char *const PIECE_LETTERS = "prbqkn"; // in TokenType order
const irr::s32 KING_FILE = 4, KINGSIDE_ROOK_FILE = 7, QUEENSIDE_ROOK_FILE = 0;
const irr::s32 NO_INDEX = PlayedMove::NONE;

char PieceLetter(irr::s32 type) { return type >= Pawn && type <= Knight ? PIECE_LETTERS[type] : '?'; }

std::string SquareText(const BoardSquare &s) { return {char('a' + s.X), char('1' + s.Y)}; }

// Index of the uncaptured token on s, or NO_INDEX.
irr::s32 TokenAt(const CMap &map, const BoardSquare &s) {
  irr::s32 index = NO_INDEX;
  return map.FindTokenAt(s, index) ? index : NO_INDEX;
}

// Whether colour c may still castle towards the rook on rookFile: king and
// that rook of its own colour stand unmoved on their home squares.
bool MayCastle(const CMap &map, irr::s32 c, irr::s32 rookFile) {
  const irr::s32 rank = BackRank(c);
  const irr::s32 king = TokenAt(map, BoardSquare(KING_FILE, rank));
  const irr::s32 rook = TokenAt(map, BoardSquare(rookFile, rank));
  if (king == NO_INDEX || rook == NO_INDEX)
    return false;
  const CGameToken *k = map.GetToken(king), *r = map.GetToken(rook);
  return k->GetType() == King && k->GetColor() == c && !k->HasMoved() && r->GetType() == Rook && r->GetColor() == c &&
         !r->HasMoved();
}

// The square behind the pawn that has just made its double step, if a pawn
// of sideToMove may legally take it there; otherwise the square is off board.
BoardSquare CapturableEnPassantSquare(const CMap &map, irr::s32 sideToMove) {
  const BoardSquare none(-1, -1);
  const irr::s32 victim = map.GetEnPassantPawn();
  if (victim < 0 || victim >= CMap::TOKEN_COUNT)
    return none;
  const CGameToken *pawn = map.GetToken(victim);
  if (pawn->IsCaptured() || pawn->GetType() != Pawn || pawn->GetColor() == sideToMove)
    return none;
  const BoardSquare at = pawn->GetSquare();
  const BoardSquare behind(at.X, at.Y + (pawn->GetColor() == White ? -1 : 1));
  for (irr::s32 dx : {-1, 1}) {
    const irr::s32 i = TokenAt(map, BoardSquare(at.X + dx, at.Y));
    if (i == NO_INDEX)
      continue;
    CGameToken *taker = map.GetToken(i);
    if (taker->GetType() != Pawn || taker->GetColor() != sideToMove)
      continue;
    for (const BoardSquare &target : taker->GetTargets())
      if (target == behind)
        return behind;
  }
  return none;
}

} // namespace

std::string PlayedMove::ToText() const {
  std::string text = SquareText(from) + SquareText(to);
  if (promotion != NONE)
    text += PieceLetter(promotion);
  return text;
}

std::string CGameRecord::PositionKey(const CMap &map, irr::s32 sideToMove) {
  std::string key(BOARD_SIZE * BOARD_SIZE, '.');
  for (irr::s32 i = 0; i < CMap::TOKEN_COUNT; ++i) {
    const CGameToken *t = map.GetToken(i);
    const BoardSquare s = t->GetSquare();
    if (t->IsCaptured() || !s.IsOnBoard())
      continue;
    const char letter = PieceLetter(t->GetType());
    key[size_t(s.Y * BOARD_SIZE + s.X)] = t->GetColor() == White ? char(letter - 'a' + 'A') : letter;
  }
  key += sideToMove == White ? " w " : " b ";
  key += MayCastle(map, White, KINGSIDE_ROOK_FILE) ? 'K' : '-';
  key += MayCastle(map, White, QUEENSIDE_ROOK_FILE) ? 'Q' : '-';
  key += MayCastle(map, Black, KINGSIDE_ROOK_FILE) ? 'k' : '-';
  key += MayCastle(map, Black, QUEENSIDE_ROOK_FILE) ? 'q' : '-';
  const BoardSquare ep = CapturableEnPassantSquare(map, sideToMove);
  key += ' ';
  key += ep.IsOnBoard() ? SquareText(ep) : "-";
  return key;
}

void CGameRecord::Start(const CMap &map, irr::s32 sideToMove, irr::s32 halfMoveClock) {
  startSide = sideToMove;
  moves.clear();
  keys.assign(1, PositionKey(map, sideToMove));
  clocks.assign(1, halfMoveClock < 0 ? 0 : halfMoveClock);
}

bool CGameRecord::Play(CMap &map, const BoardSquare &from, const BoardSquare &to) {
  const irr::s32 side = GetSideToMove();
  PlayedMove move;
  move.from = from;
  move.to = to;
  move.token = from.IsOnBoard() ? TokenAt(map, from) : NO_INDEX;
  if (move.token == NO_INDEX || !to.IsOnBoard() || map.GetTokenColor(move.token) != side)
    return false;
  CGameToken *mover = map.GetToken(move.token);
  const irr::s32 moverType = mover->GetType();
  move.moverHadMoved = mover->HasMoved();
  move.enPassantBefore = map.GetEnPassantPawn();
  move.halfMoveClockBefore = clocks.back();

  // A pawn's diagonal step onto an empty square takes the pawn beside it.
  move.captured = TokenAt(map, to);
  move.capturedSquare = to;
  if (move.captured == NO_INDEX && moverType == Pawn && to.X != from.X) {
    move.capturedSquare = BoardSquare(to.X, from.Y);
    move.captured = TokenAt(map, move.capturedSquare);
    move.enPassant = move.captured != NO_INDEX;
  }
  if (move.captured != NO_INDEX)
    move.capturedHadMoved = map.GetToken(move.captured)->HasMoved();
  if (moverType == King && to.Y == from.Y && std::abs(to.X - from.X) == 2) {
    move.rookFrom = BoardSquare(to.X > from.X ? KINGSIDE_ROOK_FILE : QUEENSIDE_ROOK_FILE, from.Y);
    move.rook = TokenAt(map, move.rookFrom);
    if (move.rook != NO_INDEX)
      move.rookHadMoved = map.GetToken(move.rook)->HasMoved();
  }

  const irr::s32 selectedBefore = map.GetSelectedToken();
  if (selectedBefore != move.token)
    map.SelectToken(move.token);
  bool promoted = false;
  if (!map.ExecuteMove(to, promoted)) {
    if (selectedBefore != move.token) // the selection is put back as it was
      selectedBefore >= 0 ? map.SelectToken(selectedBefore) : map.ClearSelection();
    return false;
  }
  if (moverType == Pawn && mover->GetType() != Pawn)
    move.promotion = mover->GetType();

  const bool irreversible = moverType == Pawn || move.captured != NO_INDEX;
  moves.push_back(move);
  clocks.push_back(irreversible ? 0 : clocks.back() + 1);
  keys.push_back(PositionKey(map, GetSideToMove()));
  return true;
}

bool CGameRecord::Undo(CMap &map) {
  if (moves.empty())
    return false;
  const PlayedMove move = moves.back();
  moves.pop_back();
  keys.pop_back();
  clocks.pop_back();

  map.ClearSelection();
  if (move.promotion != PlayedMove::NONE)
    map.RestorePawn(move.token);
  CGameToken *mover = map.GetToken(move.token);
  mover->SetSquare(move.from);
  mover->SetMoved(move.moverHadMoved);
  if (move.captured != PlayedMove::NONE) {
    CGameToken *taken = map.GetToken(move.captured);
    taken->SetSquare(move.capturedSquare);
    taken->SetCaptured(false);
    taken->SetMoved(move.capturedHadMoved);
  }
  if (move.rook != PlayedMove::NONE) {
    CGameToken *rook = map.GetToken(move.rook);
    rook->SetSquare(move.rookFrom);
    rook->SetMoved(move.rookHadMoved);
  }
  map.SetEnPassantPawn(move.enPassantBefore);
  map.UpdateMoves();
  map.ShowCheck(GetSideToMove());
  return true;
}

std::vector<std::string> CGameRecord::GetMoveTexts() const {
  std::vector<std::string> texts;
  texts.reserve(moves.size());
  for (const PlayedMove &move : moves)
    texts.push_back(move.ToText());
  return texts;
}

int CGameRecord::CountRepetitions() const {
  // Only positions since the last capture or pawn move can be the same one;
  // the clock may count plies from before Start, hence the bound.
  const size_t last = keys.size() - 1;
  const size_t reach = std::min(size_t(clocks.back()), last);
  int count = 0;
  for (size_t back = 0; back <= reach; back += 2)
    if (keys[last - back] == keys[last])
      ++count;
  return count;
}
