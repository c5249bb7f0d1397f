// A game's positions judged one after another by the review engine; a
// failure costs a fresh engine program and one more try at that position.
#include "engine/CAnalysisRun.h"

#include "chess/Types.h"

bool CAnalysisRun::Start(const chess::CGameAnalysis &game, const std::string &path, long long nodeCount, uint64_t nowMs,
                         std::string &why) {
  engine.Stop();
  analysis = game;
  enginePath = path;
  nodes = nodeCount;
  asked = SIZE_MAX;
  retried = SIZE_MAX;
  error.clear();
  startMs = nowMs;
  elapsedMs = 0;
  if (analysis.IsComplete()) {
    // Every position was judged from the rules: no engine is needed.
    status = Status::Done;
    return true;
  }
  if (!engine.Start(enginePath, nowMs, why)) {
    error = why;
    status = Status::Failed;
    return false;
  }
  status = Status::Running;
  AskNext(nowMs);
  return true;
}

void CAnalysisRun::AskNext(uint64_t nowMs) {
  asked = analysis.NextToAnalyse();
  if (asked >= analysis.PositionCount()) {
    asked = SIZE_MAX;
    engine.Stop();
    status = Status::Done;
    return;
  }
  engine.Analyse(analysis.PositionAt(asked), nodes, nowMs);
}

CAnalysisRun::Status CAnalysisRun::Step(uint64_t nowMs) {
  if (status != Status::Running)
    return status;
  elapsedMs = nowMs > startMs ? static_cast<long long>(nowMs - startMs) : 0;
  chess::PositionFinding finding;
  std::string reason;
  switch (engine.Poll(nowMs, finding, reason)) {
  case CReviewEngine::Result::Waiting:
    break;
  case CReviewEngine::Result::Found:
    analysis.Record(asked, finding);
    AskNext(nowMs);
    break;
  case CReviewEngine::Result::Failed:
    engine.Stop();
    if (retried == asked) {
      FailAt(reason);
      break;
    }
    // Once more from a fresh program: a crash or a hang may not come back.
    retried = asked;
    if (!engine.Start(enginePath, nowMs, reason)) {
      FailAt(reason);
      break;
    }
    engine.Analyse(analysis.PositionAt(asked), nodes, nowMs);
    break;
  }
  return status;
}

void CAnalysisRun::FailAt(const std::string &reason) {
  const chess::Position &position = analysis.PositionAt(asked);
  error = "the engine failed at move " + std::to_string(position.GetFullMoveNumber()) + " (" +
          (position.GetSideToMove() == chess::White ? "White" : "Black") + "): " + reason;
  status = Status::Failed;
}

void CAnalysisRun::Cancel() {
  engine.Stop();
  if (status == Status::Running)
    status = Status::Cancelled;
}
