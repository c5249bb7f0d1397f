// The game controller: the program's phase, the human's colour, whose turn it
// is, and the engine's side of each turn.
#pragma once

#include "app/KelvarTypes.h"

#include <cstdint>

class CGame {
public:
  bool Init() { return true; }
  void Update();
  void Exit() {}
  void SetState(irr::s32 s);
  irr::s32 GetState() const { return state; }
  void SetHumanColor(irr::s32 c) { humanColor = c; }
  irr::s32 GetHumanColor() const { return humanColor; }
  void SetActivePlayer(irr::s32 c);
  irr::s32 GetActivePlayer() const { return activePlayer; }
  bool IsAwaitingEcho() const { return awaitingEcho; }
  void OnLeftMouseDown();
  void OnRightMouseDown();
  // The human's pawn has reached the last rank: the move waits for the
  // piece chosen in the promotion window.
  bool IsPromotionPending() const { return promotionPending; }
  void OnPromotionChosen(irr::s32 kind);
  // Enter takes the preselected piece, the arrow keys move the choice;
  // false for any other key.
  bool OnPromotionKey(irr::EKEY_CODE key);

private:
  void EngineTurn();
  // Plays the selected token to target for the human and hands it to the engine.
  void CancelPromotion();
  void PlayHumanMove(const BoardSquare &from, const BoardSquare &target, irr::s32 promotion);

  irr::s32 state = Startup;
  irr::s32 humanColor = White;
  irr::s32 activePlayer = White;
  bool awaitingEcho = false;
  bool promotionPending = false;
  BoardSquare promotionFrom, promotionTo;
  uint32_t startupTick = 0;
};
