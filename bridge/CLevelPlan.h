// The engine program's playing levels, 1 (Beginner) to 8 (Full strength),
// and how each is put to the engine it drives: which of the engine's own
// strength options it sets, how the search is bounded, and whether the
// program weakens the choice itself by picking among the engine's candidates.
#pragma once

#include <set>
#include <string>
#include <utility>
#include <vector>

constexpr int LEVEL_MIN = 1;
constexpr int LEVEL_MAX = 8;
constexpr int LEVEL_DEFAULT = 3;

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
};
