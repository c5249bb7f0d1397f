// The player's hint: on the player's turn the engine is asked for a move in a
// short search, and the move is shown as a tint on its two squares without
// being played. The next click or move clears it.
#pragma once

#include "scene/CHintMarks.h"

#include <cstdint>

class CHint {
public:
  // How long the engine looks for the hint.
  static constexpr uint32_t THINK_MS = 500;

  bool Init() { return true; }
  // Shows the advice once it has come; drops everything when the player's
  // turn or the game is over.
  void Update();
  void Exit() { Clear(); }

  // Asks for a hint; only on the player's turn in a game. True if asked.
  bool Request();
  // Takes the tint off and forgets a hint still on its way.
  void Clear();

  bool IsWaiting() const { return waiting; }
  const CHintMarks &GetMarks() const { return marks; }

private:
  static bool IsPlayersTurn();

  CHintMarks marks;
  bool waiting = false;
};
