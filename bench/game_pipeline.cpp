// How long a move takes through the whole pipeline, beyond the engine's own
// think time: from the human's move to the engine's reply shown on the board,
// and from that reply to the human's turn (after the hand-back's answer).
// Runs the real game (OpenGL, needs a display) against the real engine program
// with a fixed think time.
#include "app/CApplication.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
const int THINK_MS = 300;

bool started = false;

bool StartOnce() {
  if (!started) {
    setenv("ABROK_THINK_MS", "300", 1); // the engine program reads it at start
    if (chdir(KELVAR_RUN_DIR) != 0 || !gl_Init(irr::video::EDT_OPENGL))
      return false;
    app.logger->setLogLevel(irr::ELL_ERROR);
    app.game.SetState(Idle);
    started = true;
  }
  return true;
}

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void BM_MovePipeline(benchmark::State &state) {
  if (!StartOnce()) {
    state.SkipWithError("the game could not start (is DISPLAY set?)");
    return;
  }
  double replyOverhead = 0, turnBack = 0;
  for (auto _ : state) {
    app.game.SetHumanColor(White);
    app.game.SetState(LocalGame);
    // The human plays e2e4, as a click on e4 with the e2 pawn selected does.
    irr::s32 pawn = -1;
    app.map.FindTokenAt(BoardSquare(4, 1), pawn);
    app.map.SelectToken(pawn);
    const auto moved = Clock::now();
    bool promoted = false;
    app.map.ExecuteMove(BoardSquare(4, 3), promoted);
    app.game.SetActivePlayer(Black);
    app.engine.SubmitMove(BoardSquare(4, 1), BoardSquare(4, 3), false);

    while (!app.game.IsAwaitingEcho()) // the reply is on the board
      gl_Frame();
    const auto shown = Clock::now();
    while (app.game.GetActivePlayer() != White) // the human's turn again
      gl_Frame();
    const auto back = Clock::now();
    replyOverhead += Ms(shown - moved) - THINK_MS;
    turnBack += Ms(back - shown);
  }
  state.counters["reply_beyond_think_ms"] = replyOverhead / double(state.iterations());
  state.counters["turn_back_ms"] = turnBack / double(state.iterations());
}

BENCHMARK(BM_MovePipeline)->Iterations(8)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
