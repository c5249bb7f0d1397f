// Time controls in the PGN TimeControl syntax, and the words a player reads
// for them. A control is a list of periods, each "[moves/]seconds[+increment]",
// separated by ':' ("300+3", "40/5400+30:1800+30"); "-" is no control.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace chess {

// How the increment of a period is given: added after every move (and once
// before the first, as FIDE counts it), or as a delay: the time used on a
// move is given back afterwards, up to the increment.
enum class IncrementKind : int { Fischer, Bronstein };

// "fischer" / "bronstein"; false for any other word.
bool ParseIncrementKind(const std::string &text, IncrementKind &kind);
const char *IncrementKindName(IncrementKind kind);

struct TimePeriod {
  int moves = 0;           // moves to make in the period; 0: the rest of the game
  int64_t baseMs = 0;      // time given at the start of the period
  int64_t incrementMs = 0; // increment (or delay) per move in the period

  bool operator==(const TimePeriod &o) const {
    return moves == o.moves && baseMs == o.baseMs && incrementMs == o.incrementMs;
  }
};

class TimeControl {
public:
  // Reads a PGN TimeControl value. "-" (or an empty text) is no control.
  // Each field is "seconds", "seconds+increment", "moves/seconds" or
  // "moves/seconds+increment", whole numbers; seconds at least 1 and at most
  // 24 hours, moves 1 to 200, an increment at most 1 hour. Every field but
  // the last needs a move count (only the last period can last the rest of
  // the game); a last field with a move count repeats. "?" (unknown) and
  // "*" (sandglass) are refused. False, with the reason in words, for
  // anything else; out is then left unchanged.
  static bool Parse(const std::string &text, TimeControl &out, std::string &reason);

  // The PGN value: "-" for none, else the fields as Parse reads them, in
  // whole seconds, without leading zeros or a "+0" increment (so Parse gives
  // the control back, and the text it read when that was written this way).
  std::string ToString() const;
  // For the player: "none", "5 min", "5 min + 3 s", "40 moves in 90 min,
  // then 30 min + 30 s"; whole hours as "2 h" (90 minutes stay "90 min"),
  // seconds where a time is not whole minutes ("90 s"), and ", repeating"
  // after a last period with a move count.
  std::string Describe() const;

  bool IsNone() const { return periods.empty(); }
  const std::vector<TimePeriod> &Periods() const { return periods; }
  // The period a side is in after it has made movesMade moves (a last
  // period with a move count repeats).
  size_t PeriodAfter(int movesMade) const;

  bool operator==(const TimeControl &o) const { return periods == o.periods; }
  bool operator!=(const TimeControl &o) const { return !(*this == o); }

  std::vector<TimePeriod> periods;
};

} // namespace chess
