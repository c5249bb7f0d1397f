#include "engine/CEngineSearch.h"

#include "engine/CEngineReply.h"

namespace {
const char *const NULL_MOVE = "0000";
const char *const NO_MOVE = "(none)";
} // namespace

bool CEngineSearch::CurrMove() {
  // UCI requires a stopped engine to answer with its "bestmove" line.
  if (!owed || ++currMoves != CURRMOVE_LIMIT)
    return false;
  currMoves = 0;
  return true;
}

bool CEngineSearch::Take(BoardSquare &from, BoardSquare &to, irr::s32 &promotion) {
  if (answer.empty())
    return false;
  // The move was checked when it arrived.
  promotion = Queen;
  from = to = BoardSquare(-1, -1);
  if (answer != NULL_MOVE && answer != NO_MOVE)
    CEngineReply::Squares(answer, from, to, promotion);
  handedOut = answer;
  answer.clear();
  return true;
}
