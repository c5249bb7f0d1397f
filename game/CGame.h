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
  // Goes on with a game set up on the board from elsewhere (a file): the
  // human plays humanSide, side is to move; board and engine are not reset.
  void ContinueGame(irr::s32 humanSide, irr::s32 side);
  irr::s32 GetActivePlayer() const { return activePlayer; }
  bool IsAwaitingEcho() const { return awaitingEcho; }
  void OnLeftMouseDown();
  void OnRightMouseDown();

private:
  void EngineTurn();

  irr::s32 state = Startup;
  irr::s32 humanColor = White;
  irr::s32 activePlayer = White;
  bool awaitingEcho = false;
  uint32_t startupTick = 0;
};
