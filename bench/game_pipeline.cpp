// How long a move takes through the whole pipeline, beyond the engine's own
// think time: from the engine being asked to the engine's move shown on the
// board, and from that move to the human's turn (after the hand-back's
// answer, the time in which a click is kept for later).
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
    // Full strength by skill, with no depth limit: the search takes the whole
    // think time, so what is left over is the pipeline's own.
    setenv("ABROK_SKILL_LEVEL", "20", 1);
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
    // A new game with the human as Black: the engine opens, through the
    // same record, link and turn logic as any of its moves.
    app.game.SetHumanColor(Black);
    const auto moved = Clock::now();
    app.game.SetState(LocalGame);

    while (!app.game.IsAwaitingEcho()) { // the reply is on the board
      if (app.game.IsEngineStuck()) {
        state.SkipWithError("the engine's move was refused");
        return;
      }
      gl_Frame();
    }
    const auto shown = Clock::now();
    while (app.game.GetActivePlayer() != Black) // the human's turn
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
