// Frames per second of the whole program at 1024 x 768 with the OpenGL driver,
// with the pieces' shadows off and on. Needs a display (e.g. Xvfb).
// Each iteration is one full frame: scene, interface, per-frame update.
#include "app/CApplication.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <unistd.h>

namespace {

bool started = false;

bool StartOnce() {
  if (!started) {
    if (chdir(KELVAR_RUN_DIR) != 0 || !gl_Init(irr::video::EDT_OPENGL))
      return false;
    app.logger->setLogLevel(irr::ELL_ERROR);
    app.game.SetState(Idle); // the board as a game shows it, without the splash
    started = true;
  }
  return true;
}

void Frames(benchmark::State &state, bool shadows) {
  if (!StartOnce()) {
    state.SkipWithError("the game could not start (is DISPLAY set?)");
    return;
  }
  app.map.SetShadowsVisible(shadows);
  for (int i = 0; i < 20; ++i) // let the entry animation settle
    gl_Frame();
  for (auto _ : state)
    gl_Frame();
  state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_FrameShadowsOff(benchmark::State &state) { Frames(state, false); }
void BM_FrameShadowsOn(benchmark::State &state) { Frames(state, true); }

BENCHMARK(BM_FrameShadowsOff)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(BM_FrameShadowsOn)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
