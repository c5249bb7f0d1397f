// The frame loop, old and new side by side in one run: the old loop draws a
// frame on every pass as fast as it can (gl_Frame in a loop), the new one
// draws only when the picture can change (gl_Pass). Runs the real game with
// the OpenGL driver (needs a display, e.g. Xvfb) and reports:
//   - frames per second while the pieces fall in and while the camera orbits
//     under a left-button drag ("fps");
//   - the engine's answer to the board: from the moment a scripted engine
//     writes "bestmove e2e4" to the end of the first frame that shows the
//     pawn leaving for e4, with the board otherwise at rest ("latency_ms",
//     mean and max), and the frames per second of the pawn's glide that
//     follows ("glide_fps").
// The scripted engine is a small shell program written into a temporary run
// folder next to a link to the real media, so the engine's think time and
// the moment of its answer are known exactly.
#include "app/CApplication.h"
#include "platform/Platform.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// Answers "go" after 200 ms and notes the wall-clock moment its answer leaves.
const char *const ENGINE_SCRIPT = R"(#!/bin/bash
while IFS= read -r line; do
  case "$line" in
    uci) printf 'id name frame pacing bench\nuciok\n' ;;
    isready) printf 'readyok\n' ;;
    go*) sleep 0.2; printf '%s\n' "$EPOCHREALTIME" > answer_time.tmp; mv answer_time.tmp answer_time
         printf 'bestmove e2e4\n' ;;
    quit) exit 0 ;;
    [a-h][1-8][a-h][1-8]*) printf 'bestmove e7e5\n' ;;
  esac
done
)";

const BoardSquare E2(4, 1), E4(4, 3);
const int LATENCY_ROUNDS = 8;
const double ORBIT_SECONDS = 3.0;
const double MAX_ANIMATION_SECONDS = 10.0;

bool started = false;

bool StartOnce() {
  if (started)
    return true;
  char pattern[] = "/tmp/kelvar-bench-XXXXXX";
  const char *dir = mkdtemp(pattern);
  if (!dir || chdir(dir) != 0 || symlink(KELVAR_RUN_DIR "/media", "media") != 0)
    return false;
  {
    std::ofstream engine("Abrok_5_0.exe");
    engine << ENGINE_SCRIPT;
  }
  chmod("Abrok_5_0.exe", 0755);
  if (!gl_Init(irr::video::EDT_OPENGL))
    return false;
  app.logger->setLogLevel(irr::ELL_ERROR);
  started = true;
  return true;
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double WallClockNow() {
  return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

// When the last frame was finished (wall clock, seconds), before any sleep.
double lastFrameDone = 0;

// One pass of the chosen loop, its sleep included; returns whether it drew a
// frame.
bool Pass(bool paced) {
  if (!paced) {
    gl_Frame();
    lastFrameDone = WallClockNow();
    return true;
  }
  const uint64_t before = app.framePacer.GetFramesDrawn();
  gl_Pass();
  const bool drew = app.framePacer.GetFramesDrawn() != before;
  if (drew)
    lastFrameDone = WallClockNow();
  gl_Rest();
  return drew;
}

bool Animating() { return CActivityMonitor::HasRunningAnimators(app.sceneManager->getRootSceneNode()); }

// Runs passes until the entry animation is over (or a time limit).
void SettleBoard(bool paced) {
  const Clock::time_point end = Clock::now() + std::chrono::milliseconds(int(MAX_ANIMATION_SECONDS * 1000));
  while (Animating() && Clock::now() < end)
    Pass(paced);
  for (int i = 0; i < 30; ++i) // the pacer's linger, so the next test starts at rest
    Pass(paced);
}

void PiecesFalling(benchmark::State &state, bool paced) {
  if (!StartOnce()) {
    state.SkipWithError("the game could not start (is DISPLAY set?)");
    return;
  }
  double frames = 0, seconds = 0;
  for (auto _ : state) {
    app.game.SetState(Idle); // the entry animation starts
    const Clock::time_point start = Clock::now();
    while (Animating() && Seconds(Clock::now() - start) < MAX_ANIMATION_SECONDS)
      frames += Pass(paced);
    seconds += Seconds(Clock::now() - start);
    SettleBoard(paced);
  }
  state.counters["fps"] = frames / seconds;
}

void Mouse(irr::EMOUSE_INPUT_EVENT what, int x, int y) {
  app.device->getCursorControl()->setPosition(x, y);
  irr::SEvent event{};
  event.EventType = irr::EET_MOUSE_INPUT_EVENT;
  event.MouseInput.Event = what;
  event.MouseInput.X = x;
  event.MouseInput.Y = y;
  event.MouseInput.ButtonStates = what == irr::EMIE_LMOUSE_LEFT_UP ? 0 : irr::EMBSM_LEFT;
  app.device->postEventFromUser(event);
}

void CameraOrbit(benchmark::State &state, bool paced) {
  if (!StartOnce()) {
    state.SkipWithError("the game could not start (is DISPLAY set?)");
    return;
  }
  SettleBoard(paced);
  double frames = 0, seconds = 0;
  const int cx = app.windowSize.Width / 2, cy = app.windowSize.Height / 2;
  for (auto _ : state) {
    Mouse(irr::EMIE_LMOUSE_PRESSED_DOWN, cx, cy);
    const Clock::time_point start = Clock::now();
    double t = 0;
    while ((t = Seconds(Clock::now() - start)) < ORBIT_SECONDS) {
      // A steady drag to the side and back, as a hand turns the board.
      Mouse(irr::EMIE_MOUSE_MOVED, cx + int(150 * std::sin(t * 2)), cy);
      frames += Pass(paced);
    }
    seconds += t;
    Mouse(irr::EMIE_LMOUSE_LEFT_UP, cx, cy);
    app.cameraRig.SetWhiteView(false);
    SettleBoard(paced);
  }
  state.counters["fps"] = frames / seconds;
}

bool PawnOnE4() {
  irr::s32 index = -1;
  return app.map.FindTokenAt(E4, index) && app.map.GetTokenColor(index) == White;
}

void EngineAnswerToBoard(benchmark::State &state, bool paced) {
  if (!StartOnce()) {
    state.SkipWithError("the game could not start (is DISPLAY set?)");
    return;
  }
  double total = 0, worst = 0, glideFrames = 0, glideSeconds = 0;
  int rounds = 0;
  for (auto _ : state) {
    for (int round = 0; round < LATENCY_ROUNDS; ++round) {
      app.game.SetState(Idle);
      SettleBoard(paced);
      unlink("answer_time");
      app.game.SetHumanColor(Black); // the engine opens: "go"
      app.game.SetState(LocalGame);
      const Clock::time_point start = Clock::now();
      bool seen = false;
      while (!seen && Seconds(Clock::now() - start) < 5.0) {
        const bool drew = Pass(paced);
        seen = drew && PawnOnE4();
      }
      const double shown = lastFrameDone;
      // The pawn's glide to e4 follows: the frames drawn while it moves.
      const Clock::time_point glideStart = Clock::now();
      while (Animating() && Seconds(Clock::now() - glideStart) < MAX_ANIMATION_SECONDS)
        glideFrames += Pass(paced);
      glideSeconds += Seconds(Clock::now() - glideStart);
      std::ifstream stamp("answer_time");
      double written = 0;
      if (!seen || !(stamp >> written)) {
        state.SkipWithError("the engine's move did not reach the board");
        return;
      }
      const double ms = (shown - written) * 1000.0;
      total += ms;
      worst = std::max(worst, ms);
      ++rounds;
    }
  }
  state.counters["latency_ms"] = total / rounds;
  state.counters["latency_max_ms"] = worst;
  state.counters["glide_fps"] = glideFrames / glideSeconds;
}

BENCHMARK_CAPTURE(PiecesFalling, old_loop, false)->Iterations(2)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK_CAPTURE(PiecesFalling, new_loop, true)->Iterations(2)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK_CAPTURE(CameraOrbit, old_loop, false)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK_CAPTURE(CameraOrbit, new_loop, true)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK_CAPTURE(EngineAnswerToBoard, old_loop, false)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK_CAPTURE(EngineAnswerToBoard, new_loop, true)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
