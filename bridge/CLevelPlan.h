// The engine program's playing levels, 1 (Beginner) to 8 (Full strength),
// and how each is put to the engine it drives: which of the engine's own
// strength options it sets, how the search is bounded, and whether the
// program weakens the choice itself by picking among the engine's candidates.
#pragma once

#include "bridge/GoRequest.h"

#include <set>
#include <string>
#include <utility>
#include <vector>

constexpr int LEVEL_MIN = 1;
constexpr int LEVEL_MAX = 8;
constexpr int LEVEL_DEFAULT = 3;

// What a move costs on the clock beyond the engine's own search. The front
// end charges the engine from writing "go" until it has read "bestmove" and
// played it, up to one frame later (20-50 ms); the two extra pipe hops
// through this program take about a millisecond, a few under load. Stockfish
// counts its time from reading "go". Given this as its "Move Overhead", it
// takes it off its time once for every move still to come (50 in sudden
// death) when it plans, and never thinks beyond 80% of its time less this
// cost, which leaves room for a slow frame when little time is left. Taken
// off the times passed on instead, it would count once, not per move to
// come. A larger value costs strength in time trouble: at 80 ms Stockfish
// plays the last 4 s of a sudden-death game at depth 1.
constexpr int MOVE_OVERHEAD_MS = 50;

// "Beginner" .. "Full strength"; "" outside 1..8.
const char *LevelName(int level);

class CLevelPlan {
public:
  // The engine option values one search is played with, in the order they
  // are to be sent, and the search's limits.
  std::vector<std::pair<std::string, std::string>> options;
  int depth = 0;      // 0: no depth limit
  int candidates = 1; // more than 1: the program picks among that many lines
  int marginCp = 0;   // ... any whose score is within this of the best
  bool levelApplies = false;
  bool weakened = false;            // below full strength: its think time bounds it also on a clock
  bool engineTakesOverhead = false; // the engine's "Move Overhead" option is set to MOVE_OVERHEAD_MS

  // The plan for a level with the engine whose options are listed (names as
  // in its "option name" lines). Strength goes only through options the
  // engine offers: Skill Level, UCI_LimitStrength with UCI_Elo, and MultiPV
  // for the program's own weakening. An engine with neither Skill Level nor
  // UCI_Elo plays every level alike, at full strength within the think time.
  // skillOverride 0..20 (from ABROK_SKILL_LEVEL) replaces the level's
  // mapping with that Skill Level; -1 for none.
  static CLevelPlan ForLevel(int level, const std::set<std::string> &engineOptions, int skillOverride = -1);
  // Full strength, for analysis such as a hint.
  static CLevelPlan FullStrength(const std::set<std::string> &engineOptions);

  // The "go" command of a search with this plan and the think time.
  std::string GoCommand(int thinkMs) const;
  // The "go" command of a search on the clock for the side to move (whose
  // time the clock must hold): the clock as given, the level's depth limit,
  // and for a weakened level a movetime of at most thinkMs and a fair share
  // of the time left. Full strength leaves its time to the engine.
  std::string GoCommand(const SearchClock &clock, bool whiteToMove, int thinkMs) const;
  // The longest a weakened level thinks on this clock: thinkMs, a share of
  // the time left for the moves to come and half of it, whichever is least,
  // but at least MOVE_MS_MIN.
  static long long WeakenedMoveMs(const SearchClock &clock, bool whiteToMove, int thinkMs);

  static constexpr long long MOVE_MS_MIN = 10;
  // The moves a sudden-death clock is shared among, however many have been
  // played: each takes a thirtieth of what is left, so the time shrinks but
  // never runs out.
  static constexpr int SUDDEN_DEATH_MOVES = 30;
};
