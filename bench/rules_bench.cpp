// What a click costs the rules: the legal moves of a position, a move played
// and taken back, the end-of-game judgement after a move, and the whole
// human move as the game plays it (the recorded move, the board following it
// and the judgement), on an opening, a busy middlegame and an endgame. All
// run inside one frame, so each must stay well under a frame's time.
#include "chess/CGameJudge.h"
#include "chess/CGameRecord.h"
#include "scene/CMap.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

struct Setup {
  const char *fen;
  BoardSquare from, to; // the move played
};

// The middlegame move is a capture.
const Setup POSITIONS[] = {
    {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", {4, 1}, {4, 3}},
    {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", {4, 4}, {6, 5}},
    {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", {4, 1}, {4, 3}},
};

chess::Position PositionOf(const Setup &setup) {
  chess::Position position;
  std::string error;
  position.SetFen(setup.fen, error);
  return position;
}

void BM_LegalMoves(benchmark::State &state) {
  const chess::Position position = PositionOf(POSITIONS[state.range(0)]);
  chess::MoveList moves;
  for (auto _ : state) {
    position.GenerateLegal(moves);
    benchmark::DoNotOptimize(moves.size);
  }
}

void BM_PlayAndTakeBack(benchmark::State &state) {
  const Setup &setup = POSITIONS[state.range(0)];
  chess::Position position = PositionOf(setup);
  const chess::Move move(setup.from, setup.to);
  for (auto _ : state) {
    if (!position.Play(move)) {
      state.SkipWithError("the move was refused");
      return;
    }
    position.UndoMove();
  }
}

// The judgement alone, on the position after the move.
void BM_JudgeAfterMove(benchmark::State &state) {
  const Setup &setup = POSITIONS[state.range(0)];
  chess::CGameRecord record;
  record.Start(PositionOf(setup));
  if (!record.Play(setup.from, setup.to)) {
    state.SkipWithError("the move was refused");
    return;
  }
  for (auto _ : state)
    benchmark::DoNotOptimize(chess::CGameJudge::Judge(record));
}

// The judgement where the repetition search reaches furthest: 98 quiet plies
// of knights going out and back since the last pawn move.
void BM_JudgeAfterLongQuietHistory(benchmark::State &state) {
  chess::CGameRecord record;
  const BoardSquare shuffle[4][2] = {{{6, 0}, {5, 2}}, {{6, 7}, {5, 5}}, {{5, 2}, {6, 0}}, {{5, 5}, {6, 7}}};
  for (int ply = 0; ply < 98; ++ply)
    if (!record.Play(shuffle[ply % 4][0], shuffle[ply % 4][1])) {
      state.SkipWithError("a shuffle move was refused");
      return;
    }
  for (auto _ : state)
    benchmark::DoNotOptimize(chess::CGameJudge::Judge(record));
}

// The whole human move as the game plays it: the recorded move (with what a
// take back needs, and the repetition key), the board's tokens following it
// (a board without scene nodes) and the judgement.
void BM_HumanMoveWithJudgement(benchmark::State &state) {
  const Setup &setup = POSITIONS[state.range(0)];
  const chess::Position start = PositionOf(setup);
  CMap map;
  map.InitGameTokens();
  chess::CGameRecord record;
  for (auto _ : state) {
    state.PauseTiming();
    map.SetUpPosition(start);
    record.Start(start);
    state.ResumeTiming();
    if (!record.Play(setup.from, setup.to)) {
      state.SkipWithError("the move was refused");
      return;
    }
    map.ShowMove(record.GetMove(0), record.GetPosition());
    benchmark::DoNotOptimize(chess::CGameJudge::Judge(record));
  }
}

void PositionArgs(benchmark::internal::Benchmark *b) {
  b->ArgName("position")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
}

} // namespace

BENCHMARK(BM_LegalMoves)->Apply(PositionArgs);
BENCHMARK(BM_PlayAndTakeBack)->Apply(PositionArgs);
BENCHMARK(BM_JudgeAfterMove)->Apply(PositionArgs);
BENCHMARK(BM_JudgeAfterLongQuietHistory)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HumanMoveWithJudgement)->Apply(PositionArgs);

BENCHMARK_MAIN();
