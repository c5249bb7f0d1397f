// The engine's side of a turn.
#include "game/CEngineTurn.h"

#include "app/CApplication.h"
#include "game/CGame.h"
#include "platform/Platform.h"

using namespace irr;

// Fetches the engine's move, plays it and hands it back; the engine's answer
// to that hand-back is fetched and thrown away before the human may move.
// A move that ends the game is not handed back: nothing more is searched.
void CEngineTurn::Update() {
  BoardSquare from, to;
  s32 promotion = Queen;
  if (awaitingEcho) {
    if (!app.engine.ProcessEngineResult(from, to))
      return;
    awaitingEcho = false;
    app.map.ClearSelection();
    game.SetActivePlayer(game.GetRecord().GetSideToMove());
    game.Input().ActOnKeptClicks();
    return;
  }
  if (!app.engine.ProcessEngineResult(from, to, promotion))
    return;
  app.map.ClearSelection();
  if (!from.IsOnBoard() || !to.IsOnBoard()) {
    OnNoMove();
    return;
  }
  if (!game.PlayMove(from, to, promotion)) {
    // A move the rules refuse is never played: the engine is at fault and is
    // started afresh and asked again, like one that died.
    app.engine.RejectResult();
    return;
  }
  // Otherwise the turn passes with the echo: the engine's piece stays lit until then.
  if (game.GetVerdict().IsOver()) {
    game.SetActivePlayer(game.GetRecord().GetSideToMove());
    game.EndGame();
    return;
  }
  const chess::PlayedMove &move = game.shownGame.GetLastMove();
  app.engine.HandBackMove(from, to, move.promotion != chess::PlayedMove::NONE, move.promotion);
  awaitingEcho = true;
}

void CEngineTurn::OnNoMove() {
  LogMessage("CGame the engine has no move in this position");
  stuck = true;
  app.map.ClearSelection();
  app.gui.ShowEngineNoMoveDialog();
}
