#include "game/CHumanInput.h"

#include "app/CApplication.h"

using namespace irr;

// A click acts at once on the human's turn. One made while only the engine's
// answer to its hand-back is outstanding (the human is already to move on
// the board) is kept and acts as soon as the turn has passed.
void CHumanInput::OnLeftMouseDown() {
  if (app.review.IsOpen())
    return; // the board shows the review
  app.cursor.Hide();
  OnClick(CBoardClicks::UnderPointer());
}

void CHumanInput::OnSquareChosen(const BoardSquare &square) {
  if (app.review.IsOpen())
    return;
  CBoardClicks::Click click;
  click.onSquare = true;
  click.square = square;
  if (app.map.FindTokenAt(square, click.token))
    click.onOwnPiece = app.map.GetTokenColor(click.token) == game.GetHumanColor();
  OnClick(click);
}

void CHumanInput::OnClick(const CBoardClicks::Click &click) {
  if (game.IsHumanTurn() && !promotionChoice.IsPending())
    ActOnClick(click);
  else if (game.IsEngineTurnEnding())
    clicks.Keep(click);
}

void CHumanInput::ActOnKeptClicks() {
  for (const CBoardClicks::Click &click : clicks.TakeKept())
    if (game.IsHumanTurn() && !promotionChoice.IsPending())
      ActOnClick(click);
}

void CHumanInput::ActOnClick(const CBoardClicks::Click &click) {
  const CBoardClicks::Action action =
      CBoardClicks::Meaning(click, game.GetActivePlayer(), game.GetRecord().GetPosition());
  switch (action.act) {
  case CBoardClicks::Act::Select:
    game.SelectPiece(action.token);
    break;
  case CBoardClicks::Act::ChoosePromotion:
    promotionChoice.Begin(action.from, action.to); // the pawn stays lit until the piece is chosen
    break;
  case CBoardClicks::Act::Move:
    game.PlayHumanMove(action.from, action.to, Queen);
    break;
  case CBoardClicks::Act::Nothing:
    break;
  }
}

void CHumanInput::OnPromotionChosen(s32 kind) {
  if (!promotionChoice.IsPending())
    return;
  const BoardSquare from = promotionChoice.GetFrom(), to = promotionChoice.GetTo();
  promotionChoice.Cancel();
  if (game.IsHumanTurn())
    game.PlayHumanMove(from, to, kind);
}

bool CHumanInput::OnPromotionKey(EKEY_CODE key) {
  s32 kind = Queen;
  const CPromotionChoice::Key handled = promotionChoice.OnKey(key, kind);
  if (handled == CPromotionChoice::Key::Chosen)
    OnPromotionChosen(kind);
  return handled != CPromotionChoice::Key::NotForTheWindow;
}

void CHumanInput::OnRightMouseDown() {
  if (game.IsHumanTurn() && !promotionChoice.IsPending())
    app.map.ClearSelection();
}
