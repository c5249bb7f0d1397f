// What the game sounds like: a click for a move, a heavier knock for a
// capture, a soft tone for check, a long tone for mate. Each plays on the
// sound thread, so none holds the frame loop, and only with sound switched
// on in the settings.
#pragma once

#include <cstddef>

namespace chess {
class Position;
}

class CGameSounds {
public:
  // A move was just played, reaching the position after; capture tells
  // whether it took a piece.
  static void MovePlayed(bool capture, const chess::Position &after);
  static void Checkmate();
};
