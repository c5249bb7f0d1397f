#include "game/CGameClock.h"

#include "app/CApplication.h"
#include "chess/ClockNotes.h"
#include "platform/Language.h"
#include "platform/Platform.h"

#include <string>

namespace {

const char *const LOW_TIME_SOUND = "./media/lowtime.wav";
const char *const SIDE_NAMES[2] = {"white", "black"};
const char *const FACE_NAMES[2] = {platform::NoTr("White"), platform::NoTr("Black")};

} // namespace

bool CGameClock::Init() {
  haveModel = model.Init();
  Off();
  return true;
}

void CGameClock::Exit() {
  if (haveModel)
    model.Exit();
  haveModel = false;
}

int64_t CGameClock::Now() {
  const uint32_t tick = platform::GetTickCount();
  if (!haveTick) {
    haveTick = true;
    lastTick = tick;
  }
  // Unsigned difference: correct across the tick counter's wrap-around.
  elapsed += uint32_t(tick - lastTick);
  lastTick = tick;
  return elapsed;
}

void CGameClock::NewGame(int sideToMove) {
  const CSettings &settings = app.settings.Get();
  clock.Start(settings.timeControl, settings.incrementKind, sideToMove, Now());
  stopped = !clock.IsOn();
  flagged = chess::ChessClock::NO_SIDE;
  warnedPeriod[0] = warnedPeriod[1] = 0;
  if (clock.IsOn())
    LogMessage("CGameClock time control " + settings.timeControl.ToString() + " (" + settings.timeControl.Describe() +
               ", " + chess::IncrementKindName(settings.incrementKind) + ")");
  TellEngine();
  Show();
}

void CGameClock::Off() {
  clock.Clear();
  stopped = true;
  flagged = chess::ChessClock::NO_SIDE;
  TellEngine();
  Show();
}

void CGameClock::Load(const chess::PgnGame &game, int startSide) {
  clock.Clear();
  flagged = chess::ChessClock::NO_SIDE;
  warnedPeriod[0] = warnedPeriod[1] = 0;
  chess::TimeControl control;
  std::string reason;
  const std::string *tag = game.FindTag("TimeControl");
  if (tag && !chess::TimeControl::Parse(*tag, control, reason))
    LogMessage("CGameClock the game's TimeControl \"" + *tag + "\" is not played (" + reason + "); no clock");
  chess::IncrementKind kind = chess::IncrementKind::Fischer;
  const std::string *kindTag = game.FindTag(INCREMENT_TAG);
  if (kindTag && !chess::ParseIncrementKind(*kindTag, kind))
    LogMessage("CGameClock the game's " + std::string(INCREMENT_TAG) + " \"" + *kindTag +
               "\" is not known; Fischer kept");
  if (!control.IsNone()) {
    const int64_t now = Now();
    clock.Resume(control, kind, startSide, chess::ClockNotesOf(game), now);
    clock.Stop(now); // until play goes on
    LogMessage("CGameClock the game goes on under " + control.ToString() + ": white " +
               chess::ClockFaceText(clock.Remaining(chess::White, now)) + ", black " +
               chess::ClockFaceText(clock.Remaining(chess::Black, now)));
  }
  stopped = true;
  TellEngine();
  Show();
}

void CGameClock::Run() {
  if (!clock.IsOn())
    return;
  clock.Continue(Now());
  stopped = false;
  TellEngine();
}

void CGameClock::Moved() {
  if (!clock.IsOn() || stopped)
    return;
  clock.Moved(Now());
  TellEngine();
}

void CGameClock::Stop() {
  if (!clock.IsOn() || stopped)
    return;
  clock.Stop(Now());
  stopped = true;
  Show();
}

void CGameClock::TakeBack(size_t plies) {
  if (!clock.IsOn())
    return;
  clock.TakeBack(plies, Now());
  stopped = false;
  flagged = chess::ChessClock::NO_SIDE;
  TellEngine();
  Show();
}

int64_t CGameClock::Remaining(int color) { return clock.IsOn() ? clock.Remaining(color, Now()) : 0; }

void CGameClock::TellEngine() {
  CEngineClock told;
  if (clock.IsOn()) {
    const int64_t now = Now();
    const int side =
        clock.Running() == chess::ChessClock::NO_SIDE ? app.game.GetRecord().GetSideToMove() : clock.Running();
    told.Set(clock.Remaining(chess::White, now), clock.Remaining(chess::Black, now), clock.IncrementOf(chess::White),
             clock.IncrementOf(chess::Black), clock.MovesToGo(side), side, platform::GetTickCount());
  }
  app.engine.SetClock(told);
}

void CGameClock::Update() {
  if (clock.IsOn() && !stopped && app.game.GetState() == LocalGame && !app.game.IsGameOver()) {
    const int side = clock.Flagged(Now());
    if (side != chess::ChessClock::NO_SIDE) {
      flagged = side;
      LogMessage(std::string("clock flag fell: ") + SIDE_NAMES[side]);
      app.game.OnFlagFell(side);
      Stop();
    } else {
      WarnOfLowTime();
    }
  }
  Show();
}

void CGameClock::WarnOfLowTime() {
  const int side = clock.Running();
  if (side == chess::ChessClock::NO_SIDE)
    return;
  // The warning is the player's: the engine keeps its own time.
  const bool human = app.game.IsTwoPlayers() || side == app.game.GetHumanColor();
  const size_t period = clock.PeriodOf(side) + 1;
  if (!human || warnedPeriod[side] == period || clock.Remaining(side, Now()) >= clock.LowTimeMs(side))
    return;
  warnedPeriod[side] = period;
  LogMessage(std::string("CGameClock low time: ") + SIDE_NAMES[side]);
  if (app.settings.Get().sound)
    platform::PlaySound(LOW_TIME_SOUND);
}

std::string CGameClock::StatusText() {
  if (!clock.IsOn())
    return "";
  std::string text;
  for (int side : {chess::White, chess::Black}) {
    text += std::string(text.empty() ? "" : "   ") + platform::Tr(FACE_NAMES[side]) + " " +
            chess::ClockFaceText(Remaining(side));
    if (side == flagged)
      text += platform::Tr(" (flag)");
    else if (side == clock.Running())
      text += " <";
  }
  return text;
}

void CGameClock::Show() {
  const bool on = clock.IsOn() && app.game.GetState() == LocalGame;
  std::string faces[2];
  if (on)
    for (int side : {chess::White, chess::Black})
      faces[side] = chess::ClockFaceText(Remaining(side));
  const int running = on ? clock.Running() : -1;
  if (faces[0] == shownFaces[0] && faces[1] == shownFaces[1] && running == shownRunning)
    return;
  shownFaces[0] = faces[0];
  shownFaces[1] = faces[1];
  shownRunning = running;
  ++shownRevision;
  if (haveModel) {
    model.SetVisible(on);
    if (on)
      model.Show(faces[0], faces[1], running, flagged);
  }
  app.gui.SetStatusClock(on ? StatusText() : "");
}

void CGameClock::Annotate(chess::PgnGame &game) {
  if (!clock.IsOn())
    return;
  game.SetTag("TimeControl", clock.Control().ToString());
  if (clock.Kind() == chess::IncrementKind::Bronstein)
    game.SetTag(INCREMENT_TAG, chess::IncrementKindName(clock.Kind()));
  // A move whose time was not known (a file without it) keeps its notes as they are.
  for (size_t ply = 0; ply < game.moves.size() && ply < clock.Plies(); ++ply)
    if (clock.LeftAfterPly(ply) >= 0)
      chess::SetClockNote(game.NotesAt(ply), clock.LeftAfterPly(ply));
}
