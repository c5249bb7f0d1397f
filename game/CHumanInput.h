// The human's hands on the board: mouse clicks and the board cursor's
// choices, the clicks kept while the engine's turn is still ending, and the
// promotion window's answer. What a click means comes from CBoardClicks; the
// move it makes is played by the game controller.
#pragma once

#include "app/KelvarTypes.h"
#include "game/CBoardClicks.h"
#include "game/CPromotionChoice.h"

class CGame;

class CHumanInput {
public:
  explicit CHumanInput(CGame &game) : game(game) {}

  void OnLeftMouseDown();
  // The board cursor's Space or Enter: a click on the square.
  void OnSquareChosen(const BoardSquare &square);
  void OnRightMouseDown();

  // The human's pawn has reached the last rank: the move waits for the
  // piece chosen in the promotion window.
  bool IsPromotionPending() const { return promotionChoice.IsPending(); }
  void OnPromotionChosen(irr::s32 kind);
  // Enter takes the preselected piece, the arrow keys move the choice,
  // Escape drops the move; false for any other key.
  bool OnPromotionKey(irr::EKEY_CODE key);
  void CancelPromotion() { promotionChoice.Cancel(); }

  // The human's turn has begun: the clicks kept meanwhile act now, in order.
  void ActOnKeptClicks();
  // A new game, or one the engine left, takes no click of before.
  void ForgetKeptClicks() { clicks.Forget(); }

private:
  // Acted on in the human's turn, kept while the engine's turn is still ending.
  void OnClick(const CBoardClicks::Click &click);
  void ActOnClick(const CBoardClicks::Click &click);

  CGame &game;
  CPromotionChoice promotionChoice;
  // Clicks made while only the engine's answer to its hand-back was awaited.
  CBoardClicks clicks;
};
