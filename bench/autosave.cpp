// What keeping the unfinished game costs the frame loop after a move: writing
// the file durably on the loop's own thread (temporary file, fsync, rename,
// folder fsync) against handing it to the autosave's writer thread, for a
// game of 100 moves. Run side by side in one run: the disk decides the first.
#include "chess/CGameRecord.h"
#include "chess/CPgnWriter.h"
#include "game/CAutosave.h"
#include "platform/DataFiles.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <unistd.h>

namespace {

// A game of up to 200 plies of random legal moves.
chess::PgnGame Game() {
  chess::CGameRecord record;
  record.Start(chess::Position());
  std::mt19937 random(7);
  for (int ply = 0; ply < 200; ++ply) {
    const std::vector<chess::Move> moves = record.GetPosition().LegalMoves();
    if (moves.empty())
      break;
    record.Play(moves[random() % moves.size()]);
  }
  chess::PgnGame game;
  game.moves = record.GetMoves();
  return game;
}

// The file's text: written on the frame loop's thread either way.
std::string Text(const chess::PgnGame &game) {
  std::string text, error;
  chess::CPgnWriter::Write(game, text, error);
  return text;
}

std::string Folder() {
  // Beside the build, on the disk a player's home would be on, not in /tmp
  // (often a memory file system, where fsync costs nothing).
  const std::string folder = std::filesystem::current_path().string() + "/autosave-bench-" + std::to_string(getpid());
  std::filesystem::create_directories(folder);
  return folder;
}

void BM_WriteOnTheFrameLoop(benchmark::State &state) {
  const chess::PgnGame game = Game();
  const std::string folder = Folder();
  std::string error;
  for (auto _ : state)
    benchmark::DoNotOptimize(platform::WriteFileAtomically(folder + "/autosave.pgn", Text(game), error));
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_WriteOnTheFrameLoop)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The loop's share only: the writer thread does the rest meanwhile. A wait
// for the writer between moves (not timed) keeps the queue as a game would.
void BM_HandToTheWriter(benchmark::State &state) {
  const chess::PgnGame game = Game();
  const std::string folder = Folder();
  CAutosave autosave;
  std::string error;
  autosave.Claim(folder, false, error);
  for (auto _ : state) {
    autosave.Save(Text(game), game.moves.size());
    state.PauseTiming();
    autosave.Flush(error);
    state.ResumeTiming();
  }
  autosave.Release();
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_HandToTheWriter)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
