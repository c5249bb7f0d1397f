// What the screen says once a game has ended: a banner over the board that
// names the result, and the result with its reason on the status line.
#pragma once

#include "chess/CGameJudge.h"

#include <string>

class CGameOverNotice {
public:
  // "CHECK MATE!\nWhite wins", "STALEMATE", "DRAW BY REPETITION", "DRAW: FIFTY
  // MOVES", "DRAW: NO MATING MATERIAL", "WHITE RESIGNS" / "BLACK RESIGNS".
  static std::wstring BannerText(const chess::GameVerdict &verdict);
  // "Game Over: 1-0 (checkmate)" and the like.
  static std::wstring StatusText(const chess::GameVerdict &verdict);
  // Shows the banner (until the next game or the end of this one) and the status line.
  static void Show(const chess::GameVerdict &verdict);
};
