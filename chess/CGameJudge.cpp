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
  case GameEnd::TimeForfeit:
    return "time forfeit";
  case GameEnd::TimeForfeitInsufficientMaterial:
    return "time forfeit, insufficient material";
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

bool CGameJudge::CanEverMate(const Position &position, int color) {
  if (color != White && color != Black)
    return false;
  // Per side: pieces of each kind, and bishops by square colour (0 dark, 1 light).
  int count[2][PIECE_TYPE_COUNT] = {};
  int bishopsOn[2][2] = {};
  for (int index = 0; index < 64; ++index) {
    const Square square = Square::FromIndex(index);
    int type = 0, owner = 0;
    if (!position.PieceAt(square, type, owner))
      continue;
    ++count[owner][type];
    if (type == Bishop)
      ++bishopsOn[owner][(square.X + square.Y) % 2];
  }
  const int *own = count[color];
  const int *other = count[OtherColor(color)];
  if (own[Pawn] + own[Rook] + own[Queen] > 0 || own[Knight] >= 2 || (own[Knight] == 1 && own[Bishop] > 0))
    return true;
  const int otherPieces = other[Pawn] + other[Rook] + other[Queen] + other[Knight] + other[Bishop];
  if (own[Knight] == 1)
    return otherPieces > 0; // the other side's piece can block its own king in
  if (own[Bishop] == 0)
    return false;
  const int *ownBishops = bishopsOn[color];
  if (ownBishops[0] > 0 && ownBishops[1] > 0)
    return true;
  // Bishops on one square colour never attack the other: the mated king
  // needs a blocker that can stand on a square they do not reach.
  const int shade = ownBishops[0] > 0 ? 0 : 1;
  return otherPieces - bishopsOn[OtherColor(color)][shade] > 0;
}

GameVerdict CGameJudge::FlagFell(int flaggedColor, const Position &position) {
  GameVerdict verdict;
  if (flaggedColor != White && flaggedColor != Black)
    return verdict;
  const int opponent = OtherColor(flaggedColor);
  if (CanEverMate(position, opponent)) {
    verdict.reason = GameEnd::TimeForfeit;
    verdict.winner = opponent;
  } else {
    verdict.reason = GameEnd::TimeForfeitInsufficientMaterial;
  }
  return verdict;
}

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
