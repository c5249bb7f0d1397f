// Check, mate and move execution: legality by trial on scratch copies of the
// position, playing a move on the board, and starting a new game.
#include "scene/CMap.h"

#include "app/CApplication.h"
#include "rules/CGameToken.h"
#include "rules/TargetGenerator.h"

#include <cstdlib>

using rules_detail::BackRank;
using rules_detail::EmitTargets;
using rules_detail::NO_TOKEN;
using rules_detail::Occupancy;

namespace {

const char *const PAWN_MESH = "./media/pawn.x";
const char *const WHITE_TEXTURE = "./media/whitetoken.bmp";
const char *const BLACK_TEXTURE = "./media/blacktoken.bmp";
// Tokens 0..15 are the pawns of the start position.
const irr::s32 PAWN_SLOTS = 16;
const irr::s32 KINGSIDE_ROOK_FILE = 7, KINGSIDE_ROOK_TARGET = 5;
const irr::s32 QUEENSIDE_ROOK_FILE = 0, QUEENSIDE_ROOK_TARGET = 3;

const char *TokenTexture(irr::s32 color) { return color != White ? BLACK_TEXTURE : WHITE_TEXTURE; }

// A pawn's diagonal step onto an empty square is an en-passant capture; the
// pawn taken stands beside the mover's origin, on the target's file.
bool IsDiagonalPawnStep(const CGameToken &mover, const BoardSquare &from, const BoardSquare &to) {
  return mover.GetType() == Pawn && to.X != from.X;
}

bool IsCastlingShape(const CGameToken &mover, const BoardSquare &from, const BoardSquare &to) {
  return mover.GetType() == King && to.Y == from.Y && std::abs(to.X - from.X) == 2;
}

// Whether some enemy target of the array lands on an uncaptured king of
// colour a: the same answer IsKingAttacked gives after GenerateAllTargets,
// found without building the 32 target lists.
bool KingAttackedAfterTrial(CGameToken *const *array, irr::s32 a, irr::s32 enPassantPawn) {
  const Occupancy occ(array);
  const irr::s32 b = OtherColor(a);
  bool attacked = false;
  for (irr::s32 i = 0; i < CMap::TOKEN_COUNT && !attacked; ++i) {
    if (array[i]->IsCaptured() || array[i]->GetColor() != b)
      continue;
    EmitTargets(array, occ, i, enPassantPawn, [&](const BoardSquare &q) {
      const irr::s32 j = occ.Find(q);
      if (j != NO_TOKEN && array[j]->GetType() == King && array[j]->GetColor() == a)
        attacked = true;
    });
  }
  return attacked;
}

} // namespace

// True if a token of the other colour has a target on an uncaptured king of
// colour a; kingIndex names that king. Reads the target lists as they are.
bool CMap::IsKingAttacked(CGameToken *const *array, irr::s32 color, irr::s32 &kingIndex) const {
  const irr::s32 attacker = OtherColor(color);
  for (irr::s32 i = 0; i < TOKEN_COUNT; ++i) {
    if (array[i]->IsCaptured() || array[i]->GetColor() != attacker)
      continue;
    TargetList &targets = array[i]->GetTargets();
    for (TargetList::ConstIterator it = targets.begin(); it != targets.end(); ++it) {
      irr::s32 j;
      if (FindTokenIn(array, *it, j) && array[j]->GetType() == King && array[j]->GetColor() == color) {
        kingIndex = j;
        return true;
      }
    }
  }
  return false;
}

// Makes every scratch token a rule-state copy of the board token of the same
// index; target lists are left empty.
void CMap::CopyTokensTo(CGameToken *const *scratch) const {
  for (irr::s32 j = 0; j < TOKEN_COUNT; ++j) {
    const CGameToken *real = tokens[j];
    CGameToken *copy = scratch[j];
    copy->Reset();
    copy->SetColorAndType(real->GetColor(), real->GetType());
    copy->SetCaptured(real->IsCaptured());
    copy->SetSquare(real->GetSquare());
    copy->SetMoved(real->HasMoved());
  }
}

// Removes from token i's list every target after which its own king would be
// attacked, keeping the order of the others. Each candidate is played on a
// scratch copy of the position: the token moves (no castling rook, no
// promotion), a token on the target or a pawn taken en passant is captured.
// Castling is also refused out of check and across an attacked square.
void CMap::FilterLegalTargets(irr::s32 i, TargetList &targets) const {
  if (targets.empty())
    return;
  CGameToken scratchTokens[TOKEN_COUNT];
  CGameToken *scratch[TOKEN_COUNT];
  for (irr::s32 j = 0; j < TOKEN_COUNT; ++j)
    scratch[j] = &scratchTokens[j];

  const CGameToken &mover = *tokens[i];
  const BoardSquare from = mover.GetSquare();
  const irr::s32 color = mover.GetColor();

  // Plays token i to square c on the scratch copy and tells whether its own
  // king is then safe. c may be the token's own square: standing still.
  auto safeAfter = [&](const BoardSquare &c) {
    CopyTokensTo(scratch);
    irr::s32 k;
    const bool occupied = FindTokenIn(scratch, c, k) && k != i;
    if (occupied) {
      scratch[k]->Capture();
      scratch[k]->SetMoved(true);
    } else if (IsDiagonalPawnStep(mover, from, c)) {
      if (FindTokenIn(scratch, BoardSquare(c.X, from.Y), k)) {
        scratch[k]->Capture();
        scratch[k]->SetMoved(true);
      }
    }
    scratch[i]->SetSquare(c);
    return !KingAttackedAfterTrial(scratch, color, enPassantPawn);
  };

  TargetList candidates;
  candidates.swap(targets);
  for (TargetList::ConstIterator it = candidates.begin(); it != candidates.end(); ++it) {
    const BoardSquare c = *it;
    bool legal = safeAfter(c);
    if (legal && IsCastlingShape(mover, from, c)) {
      const BoardSquare passed(from.X + (c.X > from.X ? 1 : -1), from.Y);
      legal = safeAfter(from) && safeAfter(passed);
    }
    if (legal)
      targets.push_back(c);
  }
}

// Rebuilds every token's legal targets, both colours.
void CMap::UpdateMoves() {
  GenerateAllTargets(tokens);
  for (irr::s32 i = 0; i < TOKEN_COUNT; ++i)
    FilterLegalTargets(i, tokens[i]->GetTargets());
}

// True if colour a's king is attacked and none of its tokens has a legal
// target. Stalemate (no move, not attacked) answers false.
bool CMap::IsMate(irr::s32 color) const {
  irr::s32 king;
  if (!IsKingAttacked(tokens, color, king))
    return false;
  for (irr::s32 i = 0; i < TOKEN_COUNT; ++i)
    if (!tokens[i]->IsCaptured() && tokens[i]->GetColor() == color && !tokens[i]->GetTargets().empty())
      return false;
  return true;
}

// Plays the selected token to target if target is one of its legal moves:
// capture (also en passant), the castling rook, promotion to a queen and the
// check marker. False, with nothing changed, otherwise.
bool CMap::ExecuteMove(const BoardSquare &target, bool &promoted) {
  promoted = false;
  if (selectedToken < 0 || selectedToken >= TOKEN_COUNT)
    return false;
  CGameToken &mover = *tokens[selectedToken];
  TargetList &legal = mover.GetTargets();
  bool listed = false;
  for (TargetList::ConstIterator it = legal.begin(); it != legal.end() && !listed; ++it)
    listed = *it == target;
  if (!listed)
    return false;

  const irr::s32 color = mover.GetColor();
  const BoardSquare from = mover.GetSquare();

  // Capture: the taken token stays on its square, flagged and hidden.
  irr::s32 taken = -1; // FindTokenAt leaves it alone when it finds nothing
  if (!FindTokenAt(target, taken) && IsDiagonalPawnStep(mover, from, target))
    FindTokenAt(BoardSquare(target.X, from.Y), taken);
  if (taken >= 0) {
    tokens[taken]->Capture();
    tokens[taken]->SetMoved(true);
    UpdateMoves();
  }

  // Castling: the rook moves first, to the square the king passes over.
  const irr::s32 rank = BackRank(color);
  if (mover.GetType() == King && rank >= 0 && target.Y == rank && std::abs(target.X - from.X) == 2) {
    const bool kingside = target.X > from.X;
    irr::s32 rook;
    if (FindTokenAt(BoardSquare(kingside ? KINGSIDE_ROOK_FILE : QUEENSIDE_ROOK_FILE, rank), rook)) {
      tokens[rook]->SetSquare(BoardSquare(kingside ? KINGSIDE_ROOK_TARGET : QUEENSIDE_ROOK_TARGET, rank));
      tokens[rook]->SetMoved(true);
      UpdateMoves();
    }
  }

  // Promotion: always to a queen, on the same token (it keeps its index).
  if (mover.GetType() == Pawn && ((color == Black && target.Y == 0) || (color == White && target.Y == 7))) {
    promoted = true;
    mover.ChangeType(Queen); // a board without a scene only changes the kind
  }

  // Only a pawn's double step can be answered en passant, and only at once.
  enPassantPawn = mover.GetType() == Pawn && std::abs(target.Y - from.Y) == 2 ? selectedToken : -1;
  mover.SetSquare(target);
  mover.SetMoved(true);
  UpdateMoves();

  ShowCheck(OtherColor(color));
  return true;
}

void CMap::ShowCheck(irr::s32 sideToMove) {
  irr::s32 checked = -1;
  if (!IsKingAttacked(tokens, sideToMove, checked))
    checked = -1;
  for (irr::s32 i = 0; i < TOKEN_COUNT; ++i)
    if (tokens[i]->GetType() == King)
      tokens[i]->SetMarker(i == checked);
}

void CMap::RestorePawn(irr::s32 index) {
  if (index < 0 || index >= TOKEN_COUNT)
    return;
  CGameToken *token = tokens[index];
  if (token->GetType() == Pawn)
    return;
  // Create stores the kind even when there is no scene to build a mesh in.
  token->DiscardNode();
  token->Create(token->GetColor(), Pawn, PAWN_MESH, TokenTexture(token->GetColor()));
  token->SetShadowVisible(shadowsVisible);
}

// New game: promoted pawns become pawns again, every token goes home,
// nothing is selected, and the legal moves are rebuilt.
void CMap::Reset() {
  LogMessage("CMap::Reset");
  for (irr::s32 i = 0; i < PAWN_SLOTS; ++i)
    RestorePawn(i);
  for (CGameToken *token : tokens)
    token->Reset();
  ClearSelection();
  selectedToken = -1;
  enPassantPawn = -1;
  UpdateMoves();
}
