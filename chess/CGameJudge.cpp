#include "chess/CGameJudge.h"

#include "chess/CGameRecord.h"

namespace chess {

const char *GameVerdict::ResultText() const {
  if (!IsOver())
    return "*";
  if (winner == White)
    return "1-0";
  if (winner == Black)
    return "0-1";
  return "1/2-1/2";
}

const char *GameVerdict::ReasonText() const {
  switch (reason) {
  case GameEnd::Checkmate:
    return "checkmate";
  case GameEnd::Stalemate:
    return "stalemate";
  case GameEnd::Repetition:
    return "repetition";
  case GameEnd::FiftyMoves:
    return "fifty moves";
  case GameEnd::InsufficientMaterial:
    return "insufficient material";
  case GameEnd::Resignation:
    return "resignation";
  case GameEnd::Recorded:
    return "as recorded";
  default:
    return "";
  }
}

GameVerdict CGameJudge::Judge(const CGameRecord &record) {
  GameVerdict verdict;
  const Position &position = record.GetPosition();
  if (!record.SideToMoveCanMove()) {
    if (position.IsInCheck()) {
      verdict.reason = GameEnd::Checkmate;
      verdict.winner = OtherColor(position.GetSideToMove());
    } else {
      verdict.reason = GameEnd::Stalemate;
    }
  } else if (IsInsufficientMaterial(position)) {
    verdict.reason = GameEnd::InsufficientMaterial;
  } else if (record.CountRepetitions() >= REPETITION_COUNT) {
    verdict.reason = GameEnd::Repetition;
  } else if (record.GetHalfMoveClock() >= FIFTY_MOVE_PLIES) {
    verdict.reason = GameEnd::FiftyMoves;
  }
  return verdict;
}

bool CGameJudge::IsInsufficientMaterial(const Position &position) { return position.IsInsufficientMaterial(); }

GameVerdict CGameJudge::Resign(int resigningColor) {
  GameVerdict verdict;
  verdict.reason = GameEnd::Resignation;
  verdict.winner = OtherColor(resigningColor);
  return verdict;
}

GameVerdict CGameJudge::Recorded(const std::string &result) {
  GameVerdict verdict;
  if (result != "1-0" && result != "0-1" && result != "1/2-1/2")
    return verdict;
  verdict.reason = GameEnd::Recorded;
  verdict.winner = result == "1-0" ? White : result == "0-1" ? Black : GameVerdict::NO_WINNER;
  return verdict;
}

} // namespace chess
