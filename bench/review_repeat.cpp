// The game review's cost and repeatability with the real engine program and
// Stockfish: the first 60 plies of a real game (Kasparov - Topalov, Wijk aan
// Zee 1999) reviewed twice at 300000 nodes a position (KELVAR_REVIEW_NODES
// sets another count), each run with a fresh engine program. Prints the wall
// time of each run and whether the two gave the same evaluations, best moves
// and marks. It starts no game, so nothing is written under the home folder.
#include "chess/CGameAnalysis.h"
#include "chess/CPgnReader.h"
#include "engine/CAnalysisRun.h"
#include "platform/Platform.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char *const GAME = "[White \"Kasparov\"]\n[Black \"Topalov\"]\n\n"
                         "1. e4 d6 2. d4 Nf6 3. Nc3 g6 4. Be3 Bg7 5. Qd2 c6 6. f3 b5 7. Nge2 Nbd7 8. Bh6 Bxh6 "
                         "9. Qxh6 Bb7 10. a3 e5 11. O-O-O Qe7 12. Kb1 a6 13. Nc1 O-O-O 14. Nb3 exd4 15. Rxd4 c5 "
                         "16. Rd1 Nb6 17. g3 Kb8 18. Na5 Ba8 19. Bh3 d5 20. Qf4+ Ka7 21. Rhe1 d4 22. Nd5 Nbxd5 "
                         "23. exd5 Qd6 24. Rxd4 cxd4 25. Re7+ Kb6 26. Qxd4+ Kxa5 27. b4+ Ka4 28. Qc3 Qxd5 "
                         "29. Ra7 Bb7 30. Rxb7 Qc4 *\n";
const size_t PLIES = 60;

uint64_t NowMs() {
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
          .count());
}

struct Outcome {
  bool done = false;
  long long wallMs = 0;
  std::vector<chess::PositionFinding> findings;
  std::vector<chess::MoveMark> marks;
  std::string summary;
};

Outcome Review(const chess::CGameAnalysis &analysis, long long nodes) {
  Outcome outcome;
  const uint64_t start = NowMs();
  CAnalysisRun run;
  std::string error;
  if (!run.Start(analysis, KELVAR_RUN_DIR "/Abrok_5_0.exe", nodes, start, error)) {
    std::printf("cannot start the engine program: %s\n", error.c_str());
    return outcome;
  }
  while (run.Step(NowMs()) == CAnalysisRun::Status::Running)
    platform::Sleep(1);
  outcome.wallMs = static_cast<long long>(NowMs() - start);
  if (run.GetStatus() != CAnalysisRun::Status::Done) {
    std::printf("the review failed: %s\n", run.Error().c_str());
    return outcome;
  }
  const chess::GameReview review = run.Analysis().Review();
  if (!review.ok) {
    std::printf("no review: %s\n", review.error.c_str());
    return outcome;
  }
  for (size_t i = 0; i < run.Total(); ++i)
    outcome.findings.push_back(run.Analysis().FindingAt(i));
  for (const chess::MoveReview &move : review.moves)
    outcome.marks.push_back(move.mark);
  outcome.summary = chess::CGameAnalysis::SummaryLine(review, run.Analysis().Plies(), run.ElapsedMs());
  outcome.done = true;
  return outcome;
}

} // namespace

int main() {
  const char *given = getenv("KELVAR_REVIEW_NODES");
  const long long nodes = given && atoll(given) > 0 ? atoll(given) : CAnalysisRun::DEFAULT_NODES;
  chess::PgnGame game;
  chess::PgnError fault;
  if (!chess::CPgnReader::Read(GAME, game, fault)) {
    std::printf("the game does not read: line %d: %s\n", fault.line, fault.reason.c_str());
    return 1;
  }
  game.TruncateMoves(PLIES);
  chess::CGameAnalysis analysis;
  std::string error;
  if (!analysis.Start(game, error)) {
    std::printf("the game cannot be reviewed: %s\n", error.c_str());
    return 1;
  }
  std::printf("reviewing %zu plies (%zu positions) at %lld nodes a position, twice\n", analysis.Plies(),
              analysis.PositionCount(), nodes);
  Outcome runs[2];
  for (int i = 0; i < 2; ++i) {
    runs[i] = Review(analysis, nodes);
    if (!runs[i].done)
      return 1;
    std::printf("run %d: %lld ms wall (%.1f ms a position); %s\n", i + 1, runs[i].wallMs,
                double(runs[i].wallMs) / double(analysis.PositionCount()), runs[i].summary.c_str());
  }
  size_t evalDiffs = 0, moveDiffs = 0, markDiffs = 0;
  for (size_t i = 0; i < runs[0].findings.size(); ++i) {
    evalDiffs += runs[0].findings[i].eval != runs[1].findings[i].eval;
    moveDiffs += runs[0].findings[i].bestMove != runs[1].findings[i].bestMove;
  }
  for (size_t i = 0; i < runs[0].marks.size(); ++i)
    markDiffs += runs[0].marks[i] != runs[1].marks[i];
  const bool same = evalDiffs == 0 && moveDiffs == 0 && markDiffs == 0;
  std::printf("the two runs: %s (evaluations differing %zu, best moves %zu, marks %zu)\n",
              same ? "identical" : "DIFFERENT", evalDiffs, moveDiffs, markDiffs);
  return same ? 0 : 2;
}
