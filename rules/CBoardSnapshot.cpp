#include "rules/CBoardSnapshot.h"

#include "rules/CGameToken.h"

// Records the rule state of every token and the en-passant pawn.
void CBoardSnapshot::Take(const CMap &map) {
  for (irr::s32 i = 0; i < CMap::TOKEN_COUNT; ++i) {
    CGameToken *token = map.GetToken(i);
    TokenState &state = tokens[i];
    state.type = token->GetType();
    state.color = token->GetColor();
    state.square = token->GetSquare();
    state.captured = token->IsCaptured();
    state.moved = token->HasMoved();
    state.targets = token->GetTargets();
  }
  enPassantPawn = map.GetEnPassantPawn();
}

// Puts every token and the en-passant pawn back as recorded.
void CBoardSnapshot::Restore(CMap &map) const {
  for (irr::s32 i = 0; i < CMap::TOKEN_COUNT; ++i) {
    CGameToken *token = map.GetToken(i);
    const TokenState &state = tokens[i];
    token->SetColorAndType(state.color, state.type);
    token->SetSquare(state.square);
    token->SetCaptured(state.captured);
    token->SetMoved(state.moved);
    token->GetTargets() = state.targets;
  }
  map.SetEnPassantPawn(enPassantPawn);
}
