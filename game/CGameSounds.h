// What the game sounds like: a click for a move, a heavier knock for a
// capture, a soft tone for check, a long tone for mate. Each plays on the
// sound thread, so none holds the frame loop, and only with sound switched
// on in the settings.
#pragma once

#include <irrlicht.h>

#include <cstddef>

class CGameSounds {
public:
  // A move of color was just played; capturesBefore is how many tokens had
  // been captured before it.
  static void MovePlayed(size_t capturesBefore, irr::s32 color);
  static void Checkmate();
};
