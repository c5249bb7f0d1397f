// Frames per second of the whole program with the OpenGL driver, at 1024 x
// 768 and at 1600 x 1000: the board at rest with the pieces' shadows off and
// on, and a piece gliding and the camera orbiting with the board's
// reflections on and off. Needs a display (e.g. Xvfb).
// Each iteration is one full frame: scene, interface, per-frame update (no
// paced sleep). Each window size runs in a process of its own, one after the
// other, since the window opens at the size the settings give.
#include "app/CApplication.h"
#include "scene/CGameToken.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct WindowSize {
  int width, height;
};
const WindowSize SIZES[] = {{1024, 768}, {1600, 1000}};

const irr::s32 GLIDING_TOKEN = 8; // White's e-pawn
const irr::f32 ORBIT_DEGREES_A_FRAME = 1.5f;

bool StartAt(const WindowSize &size, const std::string &folder) {
  // The size, and reflections chosen so that no start-up timing runs.
  const std::string settings = folder + "/kelvar.ini";
  std::ofstream(settings) << "[game]\nreflections = off\n[window]\nwidth = " << size.width
                          << "\nheight = " << size.height << "\n";
  app.settings.SetPath(settings);
  if (chdir(KELVAR_RUN_DIR) != 0 || !gl_Init(irr::video::EDT_OPENGL))
    return false;
  app.logger->setLogLevel(irr::ELL_ERROR);
  app.game.SetState(Idle); // the board as a game shows it, without the splash
  // The pieces and fields where they stand, without the entry animation.
  app.map.Reset();
  app.map.SettleFields();
  return true;
}

// The board at rest from the white side, reflections as asked.
void Prepare(bool shadows, bool reflections) {
  app.map.SetShadowsVisible(shadows);
  app.reflection.SetEnabled(reflections);
  app.cameraRig.SetWhiteView(false);
  for (int i = 0; i < 20; ++i)
    gl_Frame();
}

void Report(benchmark::State &state) {
  state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void Still(benchmark::State &state, bool shadows) {
  Prepare(shadows, false);
  for (auto _ : state)
    gl_Frame();
  Report(state);
}

// White's e-pawn glides between e2 and e4, a new glide as soon as one ends.
void Glide(benchmark::State &state, bool reflections) {
  Prepare(false, reflections);
  CGameToken *token = app.map.GetToken(GLIDING_TOKEN);
  const irr::core::vector3df e2 = app.map.GetSquareWorldPosition(4, 1), e4 = app.map.GetSquareWorldPosition(4, 3);
  bool forward = true;
  for (auto _ : state) {
    if (!app.map.IsAnimating()) {
      CMap::Placement before;
      app.map.SnapshotPlacement(before);
      token->PlaceNodeAt(forward ? e4 : e2);
      app.map.AnimateMove(before, GLIDING_TOKEN);
      forward = !forward;
    }
    gl_Frame();
  }
  token->PlaceNodeAt(e2);
  Report(state);
}

// The camera circles the board at the side view's height and distance.
void Orbit(benchmark::State &state, bool reflections) {
  Prepare(false, reflections);
  irr::scene::ICameraSceneNode *camera = app.cameraRig.GetCamera();
  const irr::core::vector3df start = camera->getPosition();
  const irr::f32 radius = std::sqrt(start.X * start.X + start.Z * start.Z);
  irr::f32 degrees = 0;
  for (auto _ : state) {
    degrees += ORBIT_DEGREES_A_FRAME;
    const irr::f32 a = degrees * irr::core::DEGTORAD;
    camera->setPosition(irr::core::vector3df(radius * std::sin(a), start.Y, -radius * std::cos(a)));
    camera->updateAbsolutePosition();
    gl_Frame();
  }
  Report(state);
}

void RegisterAll(const WindowSize &size) {
  const std::string at = "/" + std::to_string(size.width) + "x" + std::to_string(size.height);
  const auto add = [&](const std::string &name, auto &&run) {
    benchmark::RegisterBenchmark((name + at).c_str(), run)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
  };
  add("Still/ShadowsOff", [](benchmark::State &s) { Still(s, false); });
  add("Still/ShadowsOn", [](benchmark::State &s) { Still(s, true); });
  add("Glide/ReflectionsOff", [](benchmark::State &s) { Glide(s, false); });
  add("Glide/ReflectionsOn", [](benchmark::State &s) { Glide(s, true); });
  add("Orbit/ReflectionsOff", [](benchmark::State &s) { Orbit(s, false); });
  add("Orbit/ReflectionsOn", [](benchmark::State &s) { Orbit(s, true); });
}

} // namespace

int main(int argc, char **argv) {
  int failures = 0;
  char folder[] = "/tmp/kelvar-bench-XXXXXX";
  if (!mkdtemp(folder))
    return 1;
  for (const WindowSize &size : SIZES) {
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
      if (!StartAt(size, folder)) {
        std::fprintf(stderr, "the game could not start at %dx%d (is DISPLAY set?)\n", size.width, size.height);
        _exit(1);
      }
      RegisterAll(size);
      benchmark::Initialize(&argc, argv);
      benchmark::RunSpecifiedBenchmarks();
      std::fflush(stdout);
      _exit(0);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
      ++failures;
  }
  std::filesystem::remove_all(folder);
  return failures == 0 ? 0 : 1;
}
