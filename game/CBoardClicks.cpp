#include "game/CBoardClicks.h"

#include "app/CApplication.h"
#include "chess/Position.h"

using namespace irr;

CBoardClicks::Click CBoardClicks::UnderPointer() {
  Click click;
  click.onOwnPiece = app.map.PickToken(click.token);
  click.onSquare = app.map.PickSquare(click.square);
  return click;
}

CBoardClicks::Action CBoardClicks::Meaning(const Click &click, s32 sideToMove, const chess::Position &position) {
  Action action;
  if (click.onOwnPiece) {
    action.act = Act::Select;
    action.token = click.token;
    return action;
  }
  const s32 selected = app.map.GetSelectedToken();
  if (selected == -1 || app.map.GetTokenColor(selected) != sideToMove || !click.onSquare)
    return action;
  app.map.GetTokenSquare(selected, action.from);
  action.to = click.square;
  // Only a pawn's step onto its last rank is legal with a piece named.
  const bool promotes = position.IsLegal(chess::Move(action.from, action.to, Queen));
  action.act = promotes ? Act::ChoosePromotion : Act::Move;
  return action;
}

void CBoardClicks::Keep(const Click &click) {
  if (kept.size() < MAX_KEPT)
    kept.push_back(click);
}

std::vector<CBoardClicks::Click> CBoardClicks::TakeKept() {
  std::vector<Click> taken;
  taken.swap(kept);
  return taken;
}
