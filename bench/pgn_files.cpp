// What opening and saving a game costs: reading a PGN file (every move found
// by its standard notation and replayed on the chess core), writing one (every
// move named, with its check mark), and the moves history text, for games of
// 40, 120 and 300 plies. Opening a file runs inside one frame: the figures say
// how long the window stands still.
//
// The moves history window after one more move, both ways side by side:
// MovesWindowRebuild writes the whole game again and replaces the window's
// text; MovesWindowAppend follows the game with the new move only and appends
// it. Both on the null driver with the game's own font.
#include "chess/CMovesHistory.h"
#include "chess/CPgnReader.h"
#include "chess/CPgnWriter.h"
#include "chess/Position.h"
#include "ui/CGUITextWindow.h"

#include <benchmark/benchmark.h>
#include <irrlicht.h>

#include <random>
#include <string>
#include <vector>

using chess::CMovesHistory;
using chess::CPgnReader;
using chess::CPgnWriter;
using chess::PgnError;
using chess::PgnGame;

namespace {

// A reproducible game of up to plies legal moves (it may end earlier in mate
// or stalemate).
PgnGame GameOf(int plies) {
  PgnGame game;
  chess::Position position;
  std::mt19937 random(7);
  for (int i = 0; i < plies; ++i) {
    const std::vector<chess::Move> moves = position.LegalMoves();
    if (moves.empty())
      break;
    const chess::Move move = moves[random() % moves.size()];
    position.Play(move);
    game.moves.push_back(move);
  }
  return game;
}

void ReadGame(benchmark::State &state) {
  const PgnGame game = GameOf(int(state.range(0)));
  std::string text, error;
  CPgnWriter::Write(game, text, error);
  for (auto _ : state) {
    PgnGame read;
    PgnError readError;
    benchmark::DoNotOptimize(CPgnReader::Read(text, read, readError));
  }
  state.counters["plies"] = double(game.moves.size());
}

void WriteGame(benchmark::State &state) {
  const PgnGame game = GameOf(int(state.range(0)));
  for (auto _ : state) {
    std::string text, error;
    benchmark::DoNotOptimize(CPgnWriter::Write(game, text, error));
  }
  state.counters["plies"] = double(game.moves.size());
}

void MovesList(benchmark::State &state) {
  const PgnGame game = GameOf(int(state.range(0)));
  for (auto _ : state) {
    std::string text;
    benchmark::DoNotOptimize(CPgnWriter::MovesList(game, text));
  }
  state.counters["plies"] = double(game.moves.size());
}

// The first plies of a game.
PgnGame Prefix(const PgnGame &game, size_t plies) {
  PgnGame part;
  part.moves.assign(game.moves.begin(), game.moves.begin() + std::ptrdiff_t(plies));
  return part;
}

// A null device that keeps its log lines out of the benchmark's table.
irr::SIrrlichtCreationParameters QuietNullDevice() {
  irr::SIrrlichtCreationParameters parameters;
  parameters.DriverType = irr::video::EDT_NULL;
  parameters.LoggingLevel = irr::ELL_NONE;
  return parameters;
}

// A moves window as the game shows it, on a null device of its own.
class WindowBench {
public:
  WindowBench() : device(irr::createDeviceEx(QuietNullDevice())) {
    irr::gui::IGUIEnvironment *env = device->getGUIEnvironment();
    irr::gui::IGUIFont *font = env->getFont(KELVAR_RUN_DIR "/media/Chess_Arial_12.bmp");
    window = new CGUITextWindow(env, font, irr::core::rect<irr::s32>(879, 25, 1019, 225));
  }
  ~WindowBench() {
    CGUITextWindow::Destroy(window);
    device->drop();
  }
  WindowBench(const WindowBench &) = delete;
  WindowBench &operator=(const WindowBench &) = delete;
  CGUITextWindow &Window() { return *window; }

private:
  irr::IrrlichtDevice *device;
  CGUITextWindow *window = nullptr;
};

irr::core::stringw Wide(const std::string &text) { return irr::core::stringw(text.c_str()); }

void MovesWindowRebuild(benchmark::State &state) {
  const PgnGame game = GameOf(int(state.range(0)));
  WindowBench bench;
  for (auto _ : state) {
    std::string text;
    CPgnWriter::MovesList(game, text);
    bench.Window().setText(Wide(text).c_str());
    bench.Window().ScrollToEnd();
  }
  state.counters["plies"] = double(game.moves.size());
}

void MovesWindowAppend(benchmark::State &state) {
  const PgnGame game = GameOf(int(state.range(0)));
  const PgnGame before = Prefix(game, game.moves.size() - 1);
  WindowBench bench;
  CMovesHistory history;
  for (auto _ : state) {
    state.PauseTiming(); // back to the window of one move before
    history.Follow(before);
    bench.Window().setText(Wide(history.GetText()).c_str());
    state.ResumeTiming();
    history.Follow(game);
    bench.Window().AppendText(Wide(history.GetTail()).c_str());
    bench.Window().ScrollToEnd();
  }
  state.counters["plies"] = double(game.moves.size());
}

} // namespace

BENCHMARK(MovesWindowRebuild)->Arg(40)->Arg(120)->Arg(300)->Unit(benchmark::kMicrosecond);
// Each timed append needs the window of one move before, rebuilt untimed at
// the cost of a whole rebuild: a fixed count keeps the run short.
BENCHMARK(MovesWindowAppend)->Arg(40)->Arg(120)->Arg(300)->Iterations(200)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReadGame)->Arg(40)->Arg(120)->Arg(300)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteGame)->Arg(40)->Arg(120)->Arg(300)->Unit(benchmark::kMillisecond);
BENCHMARK(MovesList)->Arg(40)->Arg(120)->Arg(300)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
