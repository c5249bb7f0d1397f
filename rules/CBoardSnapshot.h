// The rule state of a board, taken and put back, so that a search can play
// a move and undo it.
#pragma once

#include "app/KelvarTypes.h"
#include "scene/CMap.h"

class CBoardSnapshot {
public:
  // Records kind, colour, square, flags and legal targets of the 32 tokens,
  // and the pawn that may be taken en passant.
  void Take(const CMap &map);
  // Puts the recorded state back. A token's kind is restored without a new
  // mesh, so this is for boards without scene nodes. The selection is not
  // part of the snapshot.
  void Restore(CMap &map) const;

private:
  struct TokenState {
    irr::s32 type = Pawn;
    irr::s32 color = White;
    BoardSquare square;
    bool captured = false;
    bool moved = false;
    TargetList targets;
  };
  TokenState tokens[CMap::TOKEN_COUNT];
  irr::s32 enPassantPawn = -1;
};
