// A game taken over from a file, up to the player's choice of side.
#include "game/CGameTakeover.h"

#include "app/CApplication.h"
#include "game/CGame.h"
#include "platform/Platform.h"

using namespace irr;

bool CGameTakeover::Start(const chess::Position &start, const std::string &startFen,
                          const std::vector<chess::Move> &moves, const std::string &result) {
  game.state = LocalGame;
  game.twoPlayers = false;
  game.ForgetTurnState();
  app.clock.Off(); // the file's clock, if it has one, is set once the game stands
  game.shownGame.Start(start, true);
  bool played = true;
  for (size_t i = 0; i < moves.size() && played; ++i) {
    const chess::Move &move = moves[i];
    played = game.shownGame.Play(move.from, move.to, move.promotion == chess::Pawn ? Queen : move.promotion, false);
  }
  app.map.ClearSelection();
  const chess::CGameRecord &record = game.GetRecord();
  game.verdict = chess::CGameJudge::Judge(record);
  if (!game.verdict.IsOver())
    game.verdict = chess::CGameJudge::Recorded(result);

  // Until the colour window is answered the board is seen from the side to move.
  game.humanColor = record.GetSideToMove();
  app.gui.OnGameStateChanged(LocalGame);
  app.gui.ResetGameDisplay();
  app.gui.ShowSplash(false);
  app.map.SetShadowsVisible(false);
  app.cameraRig.FaceSide(game.humanColor);
  app.engine.SendPosition(startFen, record.GetMoveTexts());
  game.SetActivePlayer(record.GetSideToMove());
  choosingSide = !game.verdict.IsOver();
  if (choosingSide) {
    app.gui.ShowColorWindow();
  } else {
    app.gui.CloseColorWindow();
    game.EndGame();
  }
  return played;
}

bool CGameTakeover::OnColorChosen(s32 color) {
  if (!choosingSide)
    return false;
  choosingSide = false;
  const bool twoPlayers = game.IsTwoPlayers();
  const s32 toMove = game.GetRecord().GetSideToMove();
  game.humanColor = twoPlayers ? toMove : color;
  app.cameraRig.FaceSide(twoPlayers ? White : game.humanColor);
  game.SetActivePlayer(toMove);
  LogMessage(std::string("CGame plays on as ") + (twoPlayers                 ? "two players"
                                                  : game.humanColor == White ? "White"
                                                                             : "Black"));
  app.clock.Run();
  // The engine already knows the position; it opens if the human took the other side.
  if (!twoPlayers && game.humanColor != toMove)
    app.engine.RequestInitialMove();
  return true;
}
