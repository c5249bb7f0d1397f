// What a click costs the rules: rebuilding every legal move list
// (UpdateMoves), a whole ExecuteMove, the end-of-game judgement after a move,
// and the whole human move as the game plays it (recorded move and judgement),
// on an opening, a busy middlegame and an endgame. All run inside one frame,
// so each must stay well under a frame's time.
#include "rules/CBoardSnapshot.h"
#include "rules/CGameJudge.h"
#include "rules/CGameRecord.h"
#include "rules/CGameToken.h"
#include "rules/FenPosition.h"
#include "scene/CMap.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

struct Position {
  const char *fen;
  BoardSquare from, to; // the move ExecuteMove plays
};

// The middlegame move is a capture, so ExecuteMove rebuilds the lists twice.
const Position POSITIONS[] = {
    {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", {4, 1}, {4, 3}},
    {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", {4, 4}, {6, 5}},
    {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", {4, 1}, {4, 3}},
};

// A board of its own, without scene nodes, set to the position.
struct Board {
  CMap map;
  irr::s32 side = White;

  explicit Board(const Position &position) {
    map.InitGameTokens();
    std::string error;
    LoadFen(map, position.fen, side, error);
  }
};

void BM_UpdateMoves(benchmark::State &state) {
  Board board(POSITIONS[state.range(0)]);
  for (auto _ : state)
    board.map.UpdateMoves();
}

void BM_ExecuteMove(benchmark::State &state) {
  const Position &position = POSITIONS[state.range(0)];
  Board board(position);
  irr::s32 mover = -1;
  if (!board.map.FindTokenAt(position.from, mover)) {
    state.SkipWithError("no token on the move's origin");
    return;
  }
  CBoardSnapshot before;
  before.Take(board.map);
  for (auto _ : state) {
    state.PauseTiming();
    before.Restore(board.map);
    board.map.SelectToken(mover);
    state.ResumeTiming();
    bool promoted = false;
    if (!board.map.ExecuteMove(position.to, promoted)) {
      state.SkipWithError("the move was refused");
      return;
    }
  }
}

// The judgement alone, on the position after the move.
void BM_JudgeAfterMove(benchmark::State &state) {
  const Position &position = POSITIONS[state.range(0)];
  Board board(position);
  CGameRecord record;
  record.Start(board.map, board.side);
  if (!record.Play(board.map, position.from, position.to)) {
    state.SkipWithError("the move was refused");
    return;
  }
  for (auto _ : state)
    benchmark::DoNotOptimize(CGameJudge::Judge(board.map, record));
}

// The judgement where the repetition search reaches furthest: 98 quiet plies
// of knights going out and back since the last pawn move.
void BM_JudgeAfterLongQuietHistory(benchmark::State &state) {
  Board board(POSITIONS[0]);
  CGameRecord record;
  record.Start(board.map, board.side);
  const BoardSquare shuffle[4][2] = {{{6, 0}, {5, 2}}, {{6, 7}, {5, 5}}, {{5, 2}, {6, 0}}, {{5, 5}, {6, 7}}};
  for (int ply = 0; ply < 98; ++ply)
    if (!record.Play(board.map, shuffle[ply % 4][0], shuffle[ply % 4][1])) {
      state.SkipWithError("a shuffle move was refused");
      return;
    }
  for (auto _ : state)
    benchmark::DoNotOptimize(CGameJudge::Judge(board.map, record));
}

// The whole human move as the game plays it: the recorded move (ExecuteMove
// with what a take back needs, and the repetition key) and the judgement.
void BM_HumanMoveWithJudgement(benchmark::State &state) {
  const Position &position = POSITIONS[state.range(0)];
  Board board(position);
  CBoardSnapshot before;
  before.Take(board.map);
  CGameRecord record;
  for (auto _ : state) {
    state.PauseTiming();
    before.Restore(board.map);
    record.Start(board.map, board.side);
    state.ResumeTiming();
    if (!record.Play(board.map, position.from, position.to)) {
      state.SkipWithError("the move was refused");
      return;
    }
    benchmark::DoNotOptimize(CGameJudge::Judge(board.map, record));
  }
}

void PositionArgs(benchmark::internal::Benchmark *b) {
  b->ArgName("position")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
}

} // namespace

BENCHMARK(BM_UpdateMoves)->Apply(PositionArgs);
BENCHMARK(BM_ExecuteMove)->Apply(PositionArgs);
BENCHMARK(BM_JudgeAfterMove)->Apply(PositionArgs);
BENCHMARK(BM_JudgeAfterLongQuietHistory)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HumanMoveWithJudgement)->Apply(PositionArgs);

BENCHMARK_MAIN();
