// What opening and saving a game costs: reading a PGN file (every move found
// by its standard notation and replayed through the rules), writing one (every
// move named, with its check mark), and the moves history text, for games of
// 40, 120 and 300 plies. Opening a file runs inside one frame: the figures say
// how long the window stands still.
#include "rules/CChessPosition.h"
#include "rules/CPgnReader.h"
#include "rules/CPgnWriter.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>

namespace {

// A reproducible game of up to plies legal moves (it may end earlier in mate
// or stalemate).
PgnGame GameOf(int plies) {
  PgnGame game;
  CChessPosition position;
  std::mt19937 random(7);
  for (int i = 0; i < plies; ++i) {
    const std::vector<ChessMove> moves = position.LegalMoves();
    if (moves.empty())
      break;
    const ChessMove move = moves[random() % moves.size()];
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

} // namespace

BENCHMARK(ReadGame)->Arg(40)->Arg(120)->Arg(300)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteGame)->Arg(40)->Arg(120)->Arg(300)->Unit(benchmark::kMillisecond);
BENCHMARK(MovesList)->Arg(40)->Arg(120)->Arg(300)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
