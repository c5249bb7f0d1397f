#include "game/CHint.h"

#include "app/CApplication.h"

#include <string>

bool CHint::IsPlayersTurn() {
  return app.game.GetState() == LocalGame && app.game.GetActivePlayer() == app.game.GetHumanColor() &&
         !app.game.IsAwaitingEcho() && !app.game.IsChoosingSide();
}

bool CHint::Request() {
  if (!IsPlayersTurn() || app.review.IsOpen()) {
    LogMessage("CHint::Request ignored: not the player's turn");
    return false;
  }
  Clear();
  if (!app.engine.RequestHint(THINK_MS)) {
    LogMessage("CHint::Request the engine did not take the request");
    return false;
  }
  LogMessage("CHint::Request");
  app.rating.OnHint(); // a game with a hint no longer counts for the rating
  waiting = true;
  return true;
}

void CHint::Update() {
  if ((waiting || marks.IsShown()) && !IsPlayersTurn()) {
    Clear();
    return;
  }
  BoardSquare from, to;
  if (!waiting || !app.engine.FetchHint(from, to)) {
    // An answer that was no move ends the wait as well.
    if (waiting && !app.engine.IsHintPending()) {
      waiting = false;
      LogMessage("CHint::Update the engine gave no move");
    }
    return;
  }
  waiting = false;
  marks.Show(app.map, from, to);
  LogMessage("CHint " + SquareName(from) + SquareName(to));
}

void CHint::Clear() {
  if (waiting)
    app.engine.CancelHint();
  waiting = false;
  marks.Clear();
}
