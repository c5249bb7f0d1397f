#include "game/CPromotionChoice.h"

#include "app/CApplication.h"

using namespace irr;

void CPromotionChoice::Begin(const BoardSquare &moveFrom, const BoardSquare &moveTo) {
  pending = true;
  from = moveFrom;
  to = moveTo;
  app.gui.GetPromotionWindow().Open(app.game.GetRecord().GetSideToMove());
}

void CPromotionChoice::Cancel() {
  pending = false;
  app.gui.GetPromotionWindow().Close();
}

CPromotionChoice::Key CPromotionChoice::OnKey(EKEY_CODE key, s32 &kind) {
  if (!pending)
    return Key::NotForTheWindow;
  CPromotionWindow &window = app.gui.GetPromotionWindow();
  switch (key) {
  case KEY_RETURN:
    kind = window.GetChoice();
    return Key::Chosen;
  case KEY_LEFT:
    window.Step(-1);
    return Key::Handled;
  case KEY_RIGHT:
    window.Step(+1);
    return Key::Handled;
  case KEY_ESCAPE: // the move is dropped before it was made; the pawn stays lit
    Cancel();
    return Key::Handled;
  default:
    return Key::NotForTheWindow;
  }
}
