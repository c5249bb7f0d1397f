// What the human's clicks on the board mean. A click is read when it is made
// (a piece of the human's colour under the pointer, else the square drawn
// there) and turned into what the game controller should do with it; clicks
// made while the engine's turn is still ending are kept until the human's
// turn begins, so that a quick player loses none.
#pragma once

#include "app/KelvarTypes.h"

#include <vector>

namespace chess {
class Position;
}

class CBoardClicks {
public:
  struct Click {
    bool onOwnPiece = false;
    irr::s32 token = -1;
    bool onSquare = false;
    BoardSquare square;
  };
  enum class Act { Nothing, Select, Move, ChoosePromotion };
  struct Action {
    Act act = Act::Nothing;
    irr::s32 token = -1;  // for Select
    BoardSquare from, to; // for Move and ChoosePromotion
  };

  // What is under the pointer now.
  static Click UnderPointer();
  // What the click does on the board as it stands, with sideToMove to play
  // in the position: a piece of the human's selects it; with a piece of the
  // side to move selected, a square moves it there (or asks for the
  // promotion piece when that is a pawn's legal step onto its last rank).
  static Action Meaning(const Click &click, irr::s32 sideToMove, const chess::Position &position);

  // Keeps a click for later: at most a whole move's two, the rest dropped.
  void Keep(const Click &click);
  // The kept clicks in order; none are kept afterwards.
  std::vector<Click> TakeKept();
  void Forget() { kept.clear(); }

private:
  static constexpr size_t MAX_KEPT = 2;
  std::vector<Click> kept;
};
