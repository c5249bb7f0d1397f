// The end of a game: whether the position on the board finishes it, with
// which result and for which reason.
#pragma once

#include "app/KelvarTypes.h"

class CMap;
class CGameRecord;

enum class GameEnd : irr::s32 {
  None,
  Checkmate,
  Stalemate,
  Repetition,
  FiftyMoves,
  InsufficientMaterial,
  Resignation,
};

// How a game ended; reason None means it goes on.
struct GameVerdict {
  GameEnd reason = GameEnd::None;
  irr::s32 winner = NO_WINNER; // White, Black, or NO_WINNER for a draw

  static constexpr irr::s32 NO_WINNER = -1;

  bool IsOver() const { return reason != GameEnd::None; }
  // "1-0", "0-1" or "1/2-1/2"; "*" while the game goes on.
  const char *ResultText() const;
  // "checkmate", "stalemate", "repetition", "fifty moves",
  // "insufficient material", "resignation"; "" while the game goes on.
  const char *ReasonText() const;
};

class CGameJudge {
public:
  // Judges the position after the last move of the record, with the side to
  // move the record's. The board's legal targets must be up to date. Mate and
  // stalemate come first, then insufficient material, then threefold
  // repetition, then the fifty-move rule (100 plies without capture or pawn move).
  static GameVerdict Judge(const CMap &map, const CGameRecord &record);
  // Neither side can ever mate: bare kings, a single bishop or knight beside
  // them, or only bishops that all stand on squares of one colour.
  static bool IsInsufficientMaterial(const CMap &map);
  // The game lost by the resigning colour.
  static GameVerdict Resign(irr::s32 resigningColor);

  static constexpr irr::s32 FIFTY_MOVE_PLIES = 100;
  static constexpr int REPETITION_COUNT = 3;
};
