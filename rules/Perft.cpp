#include "rules/Perft.h"

#include "rules/CBoardSnapshot.h"
#include "rules/CGameToken.h"
#include "scene/CMap.h"

#include <vector>

namespace {

struct Move {
  irr::s32 token;
  BoardSquare target;
};

// Every legal move of one colour, as the board's target lists hold them.
std::vector<Move> LegalMoves(const CMap &map, irr::s32 color) {
  std::vector<Move> moves;
  for (irr::s32 i = 0; i < CMap::TOKEN_COUNT; ++i) {
    CGameToken *token = map.GetToken(i);
    if (token->IsCaptured() || token->GetColor() != color)
      continue;
    TargetList &targets = token->GetTargets();
    for (TargetList::ConstIterator it = targets.begin(); it != targets.end(); ++it)
      moves.push_back({i, *it});
  }
  return moves;
}

} // namespace

// Walks the tree depth first, undoing each move from a snapshot; the last
// level is counted from the target lists without playing it.
std::uint64_t Perft(CMap &map, irr::s32 sideToMove, int depth) {
  if (depth <= 0)
    return 1;
  const std::vector<Move> moves = LegalMoves(map, sideToMove);
  if (depth == 1)
    return moves.size();
  CBoardSnapshot before;
  before.Take(map);
  std::uint64_t leaves = 0;
  for (const Move &move : moves) {
    map.SelectToken(move.token);
    bool promoted = false;
    if (map.ExecuteMove(move.target, promoted))
      leaves += Perft(map, OtherColor(sideToMove), depth - 1);
    before.Restore(map);
  }
  map.ClearSelection();
  return leaves;
}
