// The board model on the rule side: where the tokens stand and which squares
// each token may move to by its kind (pseudo-legal: the own king may still be
// attacked afterwards; CMapRules.cpp prunes those).
#include "scene/CMap.h"

#include "rules/CGameToken.h"
#include "rules/TargetGenerator.h"

using rules_detail::EmitTargets;
using rules_detail::Occupancy;

void CMap::InitRuleTokens() {
  for (CGameToken *&token : tokens)
    if (!token)
      token = new CGameToken();
}

// Whether (x, y) lies on the 8 x 8 board.
bool CMap::IsOnBoard(irr::s32 x, irr::s32 y) { return BoardSquare(x, y).IsOnBoard(); }

// First uncaptured token of the array on square s, scanning 0..31 upwards.
bool CMap::FindTokenIn(CGameToken *const *array, const BoardSquare &s, irr::s32 &index) const {
  for (irr::s32 i = 0; i < TOKEN_COUNT; ++i)
    if (!array[i]->IsCaptured() && array[i]->IsOnSquare(s)) {
      index = i;
      return true;
    }
  return false;
}

// FindTokenIn on the board's own tokens.
bool CMap::FindTokenAt(const BoardSquare &s, irr::s32 &index) const { return FindTokenIn(tokens, s, index); }

// Fills targets with the pseudo-legal targets of token i; false (and empty)
// for a captured token.
bool CMap::GenerateTargets(CGameToken *const *array, irr::s32 i, TargetList &targets) const {
  targets.clear();
  if (array[i]->IsCaptured())
    return false;
  const Occupancy occ(array);
  EmitTargets(array, occ, i, enPassantPawn, [&](const BoardSquare &q) { targets.push_back(q); });
  return true;
}

// Rebuilds the target list of every token of the array from scratch.
void CMap::GenerateAllTargets(CGameToken *const *array) const {
  const Occupancy occ(array);
  for (irr::s32 i = 0; i < TOKEN_COUNT; ++i) {
    TargetList &targets = array[i]->GetTargets();
    targets.clear();
    if (!array[i]->IsCaptured())
      EmitTargets(array, occ, i, enPassantPawn, [&](const BoardSquare &q) { targets.push_back(q); });
  }
}

irr::s32 CMap::GetTokenColor(irr::s32 index) const { return tokens[index]->GetColor(); }

bool CMap::GetTokenSquare(irr::s32 index, BoardSquare &square) const {
  square = tokens[index]->GetSquare();
  return true;
}
