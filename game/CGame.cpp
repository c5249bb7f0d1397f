// The game controller: phases and their entry actions, whose turn it is, the
// human's clicks and the engine's side of each turn.
#include "game/CGame.h"

#include "app/CApplication.h"
#include "platform/Platform.h"

using namespace irr;

namespace {

const uint32_t STARTUP_PHASE_MS = 5000;

const wchar_t *const MATE_TEXT = L"CHECK MATE!";
const video::SColor MATE_COLOR(150, 220, 0, 0);
const uint32_t MATE_TONE_HZ = 2500, MATE_TONE_MS = 1000;

const char *const MOVE_SOUND = "./media/move.wav";
const char *const CAPTURE_SOUND = "./media/capture.wav";
const char *const CHECK_SOUND = "./media/check.wav";

// The sound of a move just played by color: a knock for a capture, else a
// click, and a soft tone when it gives check (not mate, which has its own tone).
void PlayMoveSound(size_t capturesBefore, s32 color) {
  platform::PlaySound(app.map.GetCaptureOrder().size() > capturesBefore ? CAPTURE_SOUND : MOVE_SOUND);
  const s32 opponent = OtherColor(color);
  s32 king;
  if (app.map.IsKingAttacked(app.map.GetTokens(), opponent, king) && !app.map.IsMate(opponent))
    platform::PlaySound(CHECK_SOUND);
}

core::rect<s32> MateBannerRect() {
  const s32 center = app.windowSize.Width / 2;
  return core::rect<s32>(center - 220, 70, center + 220, 120);
}

} // namespace

void CGame::SetState(s32 s) {
  state = s;
  switch (s) {
  case Startup:
    app.gui.ShowSplash(true);
    app.map.SetShadowsVisible(true);
    startupTick = platform::GetTickCount();
    break;
  case Idle:
    CancelPromotion();
    app.engine.Reset(); // the engine leaves any game it was playing
    app.gui.ResetGameDisplay();
    app.gui.OnGameStateChanged(Idle);
    app.map.ShowLabels(false, White);
    app.map.SetShadowsVisible(false);
    app.gui.ShowSplash(false);
    app.map.MoveGameTokensIn();
    break;
  case LocalGame:
    CancelPromotion();
    app.gui.OnGameStateChanged(LocalGame);
    app.map.Reset();
    app.engine.Reset();
    awaitingEcho = false; // a new game never swallows an answer of the last one
    app.map.SetShadowsVisible(false);
    if (humanColor == Black) {
      app.engine.RequestInitialMove();
      app.cameraRig.SetBlackView(false);
    } else {
      app.cameraRig.SetWhiteView(false);
    }
    app.cameraRig.SetLightSide(humanColor);
    SetActivePlayer(White);
    break;
  default: // the reserved code is only stored
    break;
  }
}

void CGame::SetActivePlayer(s32 c) {
  activePlayer = c;
  app.map.ShowLabels(true, c);
  if (app.map.IsMate(c)) {
    app.gui.ShowBanner(MateBannerRect(), MATE_TEXT, MATE_COLOR);
    app.gui.SetBannerVisible(true);
    platform::Beep(MATE_TONE_HZ, MATE_TONE_MS);
  }
}

void CGame::Update() {
  if (state == Startup) {
    // Unsigned difference: correct across the tick counter's wrap-around.
    if (uint32_t(platform::GetTickCount() - startupTick) > STARTUP_PHASE_MS)
      SetState(Idle);
    return;
  }
  if (state != LocalGame || activePlayer == humanColor)
    return; // the human's turn advances only through clicks
  EngineTurn();
}

// Fetches the engine's move, plays it and hands it back; the engine's answer
// to that hand-back is fetched and thrown away before the human may move.
void CGame::EngineTurn() {
  BoardSquare from, to;
  irr::s32 promotion = Queen;
  if (awaitingEcho) {
    if (!app.engine.ProcessEngineResult(from, to))
      return;
    awaitingEcho = false;
    app.map.ClearSelection();
    SetActivePlayer(OtherColor(activePlayer));
    return;
  }
  if (!app.engine.ProcessEngineResult(from, to, promotion))
    return;
  app.map.ClearSelection();
  s32 index = -1;
  if (app.map.FindTokenAt(from, index))
    app.map.SelectToken(index);
  bool promoted = false;
  const size_t captures = app.map.GetCaptureOrder().size();
  if (!app.map.ExecuteMove(to, promoted, promotion)) {
    LogMessage("CGame::Update the engine's move was refused by the rules");
    return;
  }
  PlayMoveSound(captures, activePlayer);
  app.engine.SubmitMove(from, to, promoted, promotion);
  awaitingEcho = true; // the engine's piece stays lit until its answer is in
}

// A click on an own piece selects it; a click on a square with a piece
// selected tries to move it there.
void CGame::OnLeftMouseDown() {
  if (state != LocalGame || activePlayer != humanColor || promotionPending)
    return;
  s32 index = -1;
  if (app.map.PickToken(index)) {
    app.map.ClearSelection();
    app.map.SelectToken(index);
    return;
  }
  const s32 selected = app.map.GetSelectedToken();
  if (selected == -1 || app.map.GetTokenColor(selected) != humanColor)
    return;
  BoardSquare target;
  if (!app.map.PickSquare(target))
    return;
  BoardSquare from;
  app.map.GetTokenSquare(selected, from);
  if (app.map.IsPromotionMove(selected, target)) {
    // The move waits for the piece chosen; the pawn stays lit meanwhile.
    promotionPending = true;
    promotionFrom = from;
    promotionTo = target;
    app.gui.GetPromotionWindow().Open();
    return;
  }
  PlayHumanMove(from, target, Queen);
}

void CGame::PlayHumanMove(const BoardSquare &from, const BoardSquare &target, s32 promotion) {
  bool promoted = false;
  const size_t captures = app.map.GetCaptureOrder().size();
  if (!app.map.ExecuteMove(target, promoted, promotion))
    return; // not a legal move: selection and highlights stay
  PlayMoveSound(captures, activePlayer);
  SetActivePlayer(OtherColor(activePlayer)); // a mate is announced before the move is sent
  app.engine.SubmitMove(from, target, promoted, promotion);
}

void CGame::OnPromotionChosen(s32 kind) {
  if (!promotionPending)
    return;
  CancelPromotion();
  if (state == LocalGame && activePlayer == humanColor)
    PlayHumanMove(promotionFrom, promotionTo, kind);
}

bool CGame::OnPromotionKey(EKEY_CODE key) {
  if (!promotionPending)
    return false;
  CPromotionWindow &window = app.gui.GetPromotionWindow();
  switch (key) {
  case KEY_RETURN:
    OnPromotionChosen(window.GetChoice());
    return true;
  case KEY_LEFT:
    window.Step(-1);
    return true;
  case KEY_RIGHT:
    window.Step(+1);
    return true;
  case KEY_ESCAPE: // the move is taken back before it was made; the pawn stays lit
    CancelPromotion();
    return true;
  default:
    return false;
  }
}

void CGame::CancelPromotion() {
  promotionPending = false;
  app.gui.GetPromotionWindow().Close();
}

void CGame::OnRightMouseDown() {
  if (state == LocalGame && activePlayer == humanColor && !promotionPending)
    app.map.ClearSelection();
}
