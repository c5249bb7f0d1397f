// The end of a game: whether the position after the last move finishes it,
// with which result and for which reason.
#pragma once

#include <string>

namespace chess {

class CGameRecord;
class Position;

enum class GameEnd : int {
  None,
  Checkmate,
  Stalemate,
  Repetition,
  FiftyMoves,
  InsufficientMaterial,
  Resignation,
  Recorded, // a result a game file states without the position showing it
  TimeForfeit,
  TimeForfeitInsufficientMaterial, // a flag fell, but the other side could never mate
};

// How a game ended; reason None means it goes on.
struct GameVerdict {
  GameEnd reason = GameEnd::None;
  int winner = NO_WINNER; // White, Black, or NO_WINNER for a draw

  static constexpr int NO_WINNER = -1;

  bool IsOver() const { return reason != GameEnd::None; }
  // "1-0", "0-1" or "1/2-1/2"; "*" while the game goes on.
  const char *ResultText() const;
  // "checkmate", "stalemate", "repetition", "fifty moves",
  // "insufficient material", "resignation", "as recorded", "time forfeit",
  // "time forfeit, insufficient material"; "" while the game goes on.
  const char *ReasonText() const;
};

class CGameJudge {
public:
  // Judges the position after the last move of the record. Mate and
  // stalemate come first, then insufficient material, then threefold
  // repetition, then the fifty-move rule (100 plies without capture or pawn move).
  static GameVerdict Judge(const CGameRecord &record);
  // Neither side can ever mate: bare kings, a single bishop or knight beside
  // them, or only bishops that all stand on squares of one colour.
  static bool IsInsufficientMaterial(const Position &position);
  // Whether color could ever checkmate the other side by any series of legal
  // moves, the other side helping: never with a lone king; never with a king
  // and one knight, or a king and bishops all on squares of one colour,
  // against a lone king (or, for the bishops, against a king with bishops on
  // the same colour only); in every other case a mate exists.
  static bool CanEverMate(const Position &position, int color);
  // The flag of flaggedColor fell in this position: lost on time, or drawn
  // when the other side could never mate.
  static GameVerdict FlagFell(int flaggedColor, const Position &position);
  // The game lost by the resigning colour.
  static GameVerdict Resign(int resigningColor);
  // The end a game file states ("1-0", "0-1", "1/2-1/2"); none for "*".
  static GameVerdict Recorded(const std::string &result);

  static constexpr int FIFTY_MOVE_PLIES = 100;
  static constexpr int REPETITION_COUNT = 3;
};

} // namespace chess
