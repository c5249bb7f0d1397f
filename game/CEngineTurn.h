// The engine's side of a turn: its move fetched, played and handed back, then
// its answer to that hand-back awaited before the human may move; and what
// happens when the engine has no move to give.
#pragma once

class CGame;

class CEngineTurn {
public:
  explicit CEngineTurn(CGame &game) : game(game) {}

  // One step of the engine's turn, each frame until the turn has passed.
  void Update();
  // The engine's move is on the board and its answer to the hand-back is
  // awaited; the turn passes to the human with that answer.
  bool IsAwaitingEcho() const { return awaitingEcho; }
  // The engine answered with no move it could play: the player keeps control.
  bool IsStuck() const { return stuck; }
  // A new game, a take back, an ending or an engine given up: the engine
  // owes nothing any more.
  void Forget() {
    awaitingEcho = false;
    stuck = false;
  }

private:
  void OnNoMove();

  CGame &game;
  bool awaitingEcho = false;
  bool stuck = false;
};
