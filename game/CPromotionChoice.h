// A human's pawn move to the last rank that waits for the piece it becomes:
// its squares, and the promotion window's keys while it waits.
#pragma once

#include "app/KelvarTypes.h"

#include <irrlicht.h>

class CPromotionChoice {
public:
  enum class Key { NotForTheWindow, Handled, Chosen };

  // Holds the move and opens the window with the queen preselected.
  void Begin(const BoardSquare &from, const BoardSquare &to);
  // Drops the move (if any) and closes the window.
  void Cancel();
  bool IsPending() const { return pending; }
  const BoardSquare &GetFrom() const { return from; }
  const BoardSquare &GetTo() const { return to; }

  // Enter takes the preselected piece (Chosen, with its kind), the arrow keys
  // move the choice and Escape drops the move (Handled); any other key, or
  // no move waiting, is NotForTheWindow.
  Key OnKey(irr::EKEY_CODE key, irr::s32 &kind);

private:
  bool pending = false;
  BoardSquare from, to;
};
