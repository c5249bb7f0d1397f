// The game controller: phases and their entry actions, whose turn it is, take
// back, resigning and the end of a game.
#include "game/CGame.h"

#include "app/CApplication.h"
#include "game/CGameSounds.h"
#include "platform/Platform.h"
#include "ui/CGameOverNotice.h"

#include <string>

using namespace irr;

namespace {

const uint32_t STARTUP_PHASE_MS = 5000;

} // namespace

void CGame::SetState(s32 s) {
  app.review.Close(); // the board goes back to the game before it changes
  state = s;
  switch (s) {
  case Startup:
    app.gui.ShowSplash(true);
    app.map.SetShadowsVisible(true);
    startupTick = platform::GetTickCount();
    break;
  case Idle:
    ForgetTurnState();
    shownGame.Start(chess::Position(), false); // no game: no moves to show
    app.engine.Reset();                        // the engine leaves any game it was playing
    app.gui.ResetGameDisplay();
    app.gui.OnGameStateChanged(Idle);
    app.map.ShowLabels(false, White);
    app.map.SetShadowsVisible(false);
    app.gui.ShowSplash(false);
    app.map.MoveGameTokensIn();
    app.clock.Off();
    break;
  case LocalGame:
    ForgetTurnState();
    app.gui.OnGameStateChanged(LocalGame);
    app.map.Reset();
    shownGame.Start(chess::Position(), false);
    app.settings.OnNewGame(); // a new engine chosen in the Config window starts here
    app.engine.Reset();
    app.gui.ResetGameDisplay(); // the last game's banner goes, its moves too
    app.map.SetShadowsVisible(app.settings.Get().shadows);
    app.clock.NewGame(White);
    if (humanColor == Black && !twoPlayers)
      app.engine.RequestInitialMove();
    app.cameraRig.FaceSide(twoPlayers ? White : humanColor);
    SetActivePlayer(White);
    break;
  default: // the reserved code is only stored
    break;
  }
}

// What a game in progress leaves behind: a waiting promotion, the colour
// question, the verdict, the engine's state in the turn, kept clicks. A new
// game never takes an answer or a click of the last one.
void CGame::ForgetTurnState() {
  input.CancelPromotion();
  takeover.Forget();
  verdict = chess::GameVerdict();
  engineTurn.Forget();
  input.ForgetKeptClicks();
}

bool CGame::ContinueGame(const chess::Position &start, const std::string &startFen,
                         const std::vector<chess::Move> &moves, const std::string &result) {
  return takeover.Start(start, startFen, moves, result);
}

void CGame::OnColorChosen(s32 color, bool twoPlayersChosen) {
  twoPlayers = twoPlayersChosen;
  if (takeover.OnColorChosen(color))
    return;
  humanColor = color;
  SetState(LocalGame);
}

void CGame::SetActivePlayer(s32 c) {
  activePlayer = c;
  if (twoPlayers) {
    humanColor = c; // the clicks play whichever side is to move
    // Turning the board to the side to move is the players' choice, off by default.
    if (state == LocalGame && app.settings.Get().turnCamera)
      c == White ? app.cameraRig.SetWhiteView(false) : app.cameraRig.SetBlackView(false);
  }
  app.map.ShowLabels(true, c);
}

void CGame::Update() {
  if (app.engine.TakeGiveUp())
    OnEngineGivenUp();
  if (state == Startup) {
    // Unsigned difference: correct across the tick counter's wrap-around.
    if (uint32_t(platform::GetTickCount() - startupTick) > STARTUP_PHASE_MS)
      SetState(Idle);
    return;
  }
  if (state != LocalGame || verdict.IsOver() || IsEngineStuck() || twoPlayers || IsChoosingSide() ||
      activePlayer == humanColor)
    return; // the human's turn advances only through clicks
  engineTurn.Update();
}

bool CGame::CanReview() const {
  return state != LocalGame || verdict.IsOver() || (IsHumanTurn() && !IsAwaitingEcho() && !input.IsPromotionPending());
}

bool CGame::CanTypeMove() const { return IsHumanTurn() && !input.IsPromotionPending() && !app.review.IsOpen(); }

bool CGame::PlayTypedMove(const chess::Move &move) {
  if (!CanTypeMove() || !GetRecord().GetPosition().IsLegal(move))
    return false;
  app.map.ClearSelection();
  PlayHumanMove(move.from, move.to, move.promotion == chess::Pawn ? Queen : move.promotion);
  return true;
}

bool CGame::IsHumanTurn() const {
  return state == LocalGame && !verdict.IsOver() && !IsEngineStuck() && !IsChoosingSide() &&
         (twoPlayers || activePlayer == humanColor);
}

bool CGame::IsEngineTurnEnding() const {
  return state == LocalGame && IsAwaitingEcho() && !twoPlayers && GetRecord().GetSideToMove() == humanColor;
}

bool CGame::PlayMove(const BoardSquare &from, const BoardSquare &to, s32 promotion) {
  if (!shownGame.Play(from, to, promotion))
    return false;
  app.clock.Moved();
  const chess::PlayedMove &move = shownGame.GetLastMove();
  CGameSounds::MovePlayed(move.captured != chess::PlayedMove::NONE, shownGame.GetPosition());
  app.speech.MovePlayed(GetRecord());
  LogMessage("CGame played " + move.ToText());
  verdict = chess::CGameJudge::Judge(GetRecord());
  app.gui.RefreshMovesWindow();
  return true;
}

void CGame::EndGame() {
  input.CancelPromotion();
  app.clock.Stop();
  LogMessage(std::string("CGame game over: ") + verdict.ResultText() + " (" + verdict.ReasonText() + ")");
  engineTurn.Forget();
  app.map.ClearSelection();
  CGameOverNotice::Show(verdict);
  if (verdict.reason == chess::GameEnd::Checkmate)
    CGameSounds::Checkmate();
  app.speech.GameEnded(verdict, GetRecord());
  if (!twoPlayers)
    app.engine.SendPosition(GetRecord().GetMoveTexts());
}

void CGame::OnEngineGivenUp() {
  if (state != LocalGame || twoPlayers || verdict.IsOver())
    return;
  // The players go on without the engine: the human moves both sides from
  // here, as in a two-player game.
  twoPlayers = true;
  engineTurn.Forget();
  input.ForgetKeptClicks();
  app.map.ClearSelection();
  SetActivePlayer(GetRecord().GetSideToMove());
  LogMessage("CGame plays on as two players: the engine was given up");
}

void CGame::PlayHumanMove(const BoardSquare &from, const BoardSquare &target, s32 promotion) {
  if (!PlayMove(from, target, promotion))
    return; // not a legal move: selection and highlights stay
  SetActivePlayer(GetRecord().GetSideToMove());
  if (verdict.IsOver()) {
    EndGame(); // announced before anything reaches the engine, which searches nothing
    return;
  }
  if (twoPlayers) {
    app.map.ClearSelection();
    return;
  }
  const chess::PlayedMove &move = shownGame.GetLastMove();
  app.engine.SubmitMove(from, target, move.promotion != chess::PlayedMove::NONE, move.promotion);
}

void CGame::SelectPiece(s32 token) {
  app.map.ClearSelection();
  shownGame.SelectToken(token);
}

bool CGame::CanTakeBack() const {
  if (state != LocalGame || IsAwaitingEcho() || IsChoosingSide() || app.review.IsOpen())
    return false;
  // Nothing is taken back while the engine owes a move: its answer would
  // land on a position it was not asked about.
  if (!twoPlayers && app.engine.IsSearchPending())
    return false;
  if (!verdict.IsOver() && !IsEngineStuck() && !IsHumanTurn())
    return false;
  // Where the engine opened the game, its first move alone is not taken back.
  const size_t firstHumanPly = twoPlayers || GetRecord().GetStartSide() == humanColor ? 1 : 2;
  return GetRecord().GetPlyCount() >= firstHumanPly;
}

void CGame::TakeBack() {
  if (!CanTakeBack())
    return;
  const size_t plies = GetRecord().GetPlyCount();
  do
    shownGame.TakeBack();
  while (!twoPlayers && GetRecord().GetSideToMove() != humanColor && GetRecord().GetPlyCount() > 0);
  app.clock.TakeBack(plies - GetRecord().GetPlyCount());
  input.CancelPromotion();
  LogMessage("CGame take back to ply " + std::to_string(GetRecord().GetPlyCount()));
  app.rating.OnTakeBack();
  verdict = chess::GameVerdict();
  engineTurn.Forget();
  app.gui.SetBannerVisible(false);
  app.gui.OnGameStateChanged(LocalGame);
  SetActivePlayer(GetRecord().GetSideToMove());
  if (!twoPlayers)
    app.engine.SendPosition(GetRecord().GetMoveTexts());
  app.gui.RefreshMovesWindow();
}

void CGame::OnFlagFell(s32 color) {
  if (state != LocalGame || verdict.IsOver() || IsChoosingSide())
    return;
  verdict = chess::CGameJudge::FlagFell(color, shownGame.GetPosition());
  EndGame();
}

void CGame::Resign() {
  if (!CanResign())
    return;
  verdict = chess::CGameJudge::Resign(twoPlayers ? activePlayer : humanColor);
  EndGame();
}
