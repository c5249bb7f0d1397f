// The analysis of a whole game for its review: every position of a
// CGameAnalysis, one after another, judged by a review engine (a program of
// its own, apart from the one that plays) at full strength and a fixed
// number of nodes. Step never waits, so the game's frame loop drives it; the
// command line's batch review drives it in a loop of its own.
#pragma once

#include "chess/CGameAnalysis.h"
#include "engine/CReviewEngine.h"

#include <cstddef>
#include <cstdint>
#include <string>

class CAnalysisRun {
public:
  enum class Status { Idle, Running, Done, Failed, Cancelled };

  // The node count when the settings name none.
  static constexpr long long DEFAULT_NODES = 300000;

  // Begins judging every position of analysis (copied) with the program at
  // enginePath, nodes a position; nowMs starts the run's stopwatch. False,
  // with error, when the program cannot be started.
  bool Start(const chess::CGameAnalysis &analysis, const std::string &enginePath, long long nodes, uint64_t nowMs,
             std::string &error);
  // Reads the engine, records what has come and asks for the next position.
  // Never blocks. Done once every position is judged; Failed (with Error())
  // when the engine fails twice at one position or cannot be restarted.
  Status Step(uint64_t nowMs);
  // Ends the run and its engine; the findings so far stay readable.
  void Cancel();

  Status GetStatus() const { return status; }
  const chess::CGameAnalysis &Analysis() const { return analysis; }
  std::size_t Judged() const { return analysis.JudgedCount(); }
  std::size_t Total() const { return analysis.PositionCount(); }
  const std::string &Error() const { return error; }
  // From Start to the last position judged (or to now while running).
  long long ElapsedMs() const { return elapsedMs; }

private:
  // Asks for the next position not yet judged, or ends the run when none is left.
  void AskNext(uint64_t nowMs);
  // Ends the run with the engine's failure at the position asked.
  void FailAt(const std::string &reason);

  chess::CGameAnalysis analysis;
  CReviewEngine engine;
  std::string enginePath;
  long long nodes = DEFAULT_NODES;
  std::size_t asked = SIZE_MAX;   // the position the engine is judging
  std::size_t retried = SIZE_MAX; // the position asked again after a failure
  Status status = Status::Idle;
  std::string error;
  uint64_t startMs = 0;
  long long elapsedMs = 0;
};
