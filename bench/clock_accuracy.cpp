// How exactly the clock charges the player: over 50 turns of a game on the
// clock, a scripted player "clicks" its move at a random moment of its turn
// (the click reaches the game at the next pass of the frame loop, as the
// window system's events do), and the time its clock lost is compared with
// the wall time from the engine's move being played to that moment.
// Runs the whole game on the null driver against the real engine program.
#include "app/CApplication.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
const int TURNS = 50;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void Click(const chess::Square &square) {
  const irr::core::position2di pixel = app.sceneManager->getSceneCollisionManager()->getScreenCoordinatesFrom3DPosition(
      app.map.GetSquareWorldPosition(square.X, square.Y), app.cameraRig.GetCamera());
  for (irr::EMOUSE_INPUT_EVENT what : {irr::EMIE_LMOUSE_PRESSED_DOWN, irr::EMIE_LMOUSE_LEFT_UP}) {
    irr::SEvent event{};
    event.EventType = irr::EET_MOUSE_INPUT_EVENT;
    event.MouseInput.Event = what;
    event.MouseInput.X = pixel.X;
    event.MouseInput.Y = pixel.Y;
    app.device->getCursorControl()->setPosition(pixel.X, pixel.Y);
    app.device->postEventFromUser(event);
  }
}

// One pass of the frame loop and its rest, as the game's main loop runs them.
void Pass() {
  gl_Pass();
  gl_Rest();
}

void BM_ClockChargesThePlayer(benchmark::State &state) {
  setenv("ABROK_THINK_MS", "100", 1);
  // The benchmark's settings and games stay out of the player's own folders.
  char folder[] = "/tmp/kelvar-bench-XXXXXX";
  if (!mkdtemp(folder)) {
    state.SkipWithError("no temporary folder");
    return;
  }
  setenv("XDG_CONFIG_HOME", folder, 1);
  setenv("XDG_DATA_HOME", folder, 1);
  if (chdir(KELVAR_RUN_DIR) != 0 || !gl_Init(irr::video::EDT_NULL)) {
    state.SkipWithError("the game could not start");
    return;
  }
  app.logger->setLogLevel(irr::ELL_ERROR);
  CSettings settings = app.settings.Get();
  std::string reason;
  chess::TimeControl::Parse("3600", settings.timeControl, reason);
  settings.level = 1;
  app.settings.Apply(settings);
  std::mt19937 random(7);
  double sumError = 0, worstError = 0;
  int turns = 0;
  for (auto _ : state) {
    auto turnStart = Clock::now();
    while (turns < TURNS) {
      if (app.game.GetState() != LocalGame || app.game.IsGameOver() || app.game.IsEngineStuck()) {
        app.game.SetHumanColor(White);
        app.game.SetState(LocalGame);     // a game that ended makes way for the next
        app.cameraRig.SetWhiteView(true); // straight down: every square can be clicked
        turnStart = Clock::now();
      }
      // The player's turn: the engine's move is played and handed back.
      const size_t ply = app.game.GetRecord().GetPlyCount();
      if (ply % 2 == 1 || app.game.IsAwaitingEcho()) {
        const auto before = Clock::now();
        Pass();
        if (app.game.GetRecord().GetPlyCount() % 2 == 0 && ply % 2 == 1)
          turnStart = before + (Clock::now() - before) / 2; // within this pass, up to half a pass either way
        continue;
      }
      const int64_t leftBefore = app.clock.Remaining(White);
      std::vector<chess::Move> moves = app.game.GetRecord().GetPosition().LegalMoves();
      // A promotion would wait for the piece to be chosen.
      moves.erase(std::remove_if(moves.begin(), moves.end(), [](const chess::Move &m) { return m.promotion != Pawn; }),
                  moves.end());
      if (moves.empty()) {
        app.game.SetState(Idle);
        continue;
      }
      const chess::Move move = moves[std::uniform_int_distribution<size_t>(0, moves.size() - 1)(random)];
      const auto clickAt = turnStart + std::chrono::milliseconds(std::uniform_int_distribution<int>(100, 700)(random));
      while (Clock::now() < clickAt)
        Pass();
      Click(move.from);
      Click(move.to);
      if (app.game.GetRecord().GetPlyCount() != ply + 1) {
        state.SkipWithError("the scripted move was not played");
        return;
      }
      const double charged = double(leftBefore - app.clock.GetClock().LeftAfterPly(ply));
      const double error = std::fabs(charged - Ms(clickAt - turnStart));
      sumError += error;
      worstError = std::max(worstError, error);
      ++turns;
    }
  }
  state.counters["turns"] = turns;
  state.counters["mean_error_ms"] = turns ? sumError / turns : 0;
  state.counters["max_error_ms"] = worstError;
  gl_Exit();
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

BENCHMARK(BM_ClockChargesThePlayer)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
