#include "rules/CGameJudge.h"

#include "rules/CGameRecord.h"
#include "rules/CGameToken.h"
#include "scene/CMap.h"

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
  default:
    return "";
  }
}

GameVerdict CGameJudge::Judge(const CMap &map, const CGameRecord &record) {
  GameVerdict verdict;
  const irr::s32 side = record.GetSideToMove();
  bool canMove = false;
  for (irr::s32 i = 0; i < CMap::TOKEN_COUNT && !canMove; ++i) {
    const CGameToken *t = map.GetToken(i);
    canMove = !t->IsCaptured() && t->GetColor() == side && !map.GetToken(i)->GetTargets().empty();
  }
  if (!canMove) {
    irr::s32 king;
    if (map.IsKingAttacked(map.GetTokens(), side, king)) {
      verdict.reason = GameEnd::Checkmate;
      verdict.winner = OtherColor(side);
    } else {
      verdict.reason = GameEnd::Stalemate;
    }
  } else if (IsInsufficientMaterial(map)) {
    verdict.reason = GameEnd::InsufficientMaterial;
  } else if (record.CountRepetitions() >= REPETITION_COUNT) {
    verdict.reason = GameEnd::Repetition;
  } else if (record.GetHalfMoveClock() >= FIFTY_MOVE_PLIES) {
    verdict.reason = GameEnd::FiftyMoves;
  }
  return verdict;
}

bool CGameJudge::IsInsufficientMaterial(const CMap &map) {
  int knights = 0, bishops = 0;
  bool bishopOnLight = false, bishopOnDark = false;
  for (irr::s32 i = 0; i < CMap::TOKEN_COUNT; ++i) {
    const CGameToken *t = map.GetToken(i);
    if (t->IsCaptured())
      continue;
    switch (t->GetType()) {
    case King:
      break;
    case Knight:
      ++knights;
      break;
    case Bishop: {
      ++bishops;
      const BoardSquare s = t->GetSquare();
      ((s.X + s.Y) % 2 == 0 ? bishopOnDark : bishopOnLight) = true;
      break;
    }
    default:
      return false; // a pawn, rook or queen can always mate
    }
  }
  if (knights == 0)
    return !(bishopOnLight && bishopOnDark); // bishops of one square colour never mate
  return knights == 1 && bishops == 0;
}

GameVerdict CGameJudge::Resign(irr::s32 resigningColor) {
  GameVerdict verdict;
  verdict.reason = GameEnd::Resignation;
  verdict.winner = OtherColor(resigningColor);
  return verdict;
}
