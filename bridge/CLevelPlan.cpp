#include "bridge/CLevelPlan.h"

#include <algorithm>

namespace {

const char *const SKILL = "Skill Level";
const char *const LIMIT = "UCI_LimitStrength";
const char *const ELO = "UCI_Elo";
const char *const MULTI_PV = "MultiPV";
// Stockfish's allowance for what a move costs beyond its search; it takes it
// off each move of the time it plans with, so it never plans with time the
// link uses up.
const char *const MOVE_OVERHEAD = "Move Overhead";
const int SKILL_FULL = 20;

// How a level is played. The two lowest levels weaken by choice: a shallow
// search lists several candidate moves and one of those scoring close to
// the best is played at random, like a player who sees the moves but not
// which is best. Beginner looks one move deep and takes any of six lines
// within 2.9 pawns of the best, so it now and then leaves a piece to be taken
// or passes one by, yet plays a mate it sees; Novice looks three moves deep
// and takes any of five lines within 1.8 pawns. The margins are steep: at
// Beginner's depth, 2.8 and 3 pawns measured about 290 and 380 Elo below
// Novice. The levels above ask Stockfish for an Elo rating and search for the
// whole think time. They have no depth limit: Stockfish picks its weakened
// move at a shallow depth of its own, but a search cut off there also leaves
// the hash table shallow for the moves to come, and such a level played well
// below its rating. The ratings and the two lowest levels' margins are set
// so that the levels, measured against Stockfish's own rated play
// (bench/level_elo), stand about 335 Elo apart from Beginner (about 800) up
// to full strength, which leaves no more room: full strength measures about
// 3130 at the calibration's think time. It is the measured levels that are
// evenly spaced, not the ratings asked for: a level measures a little off
// its rating, by an amount that games settle only slowly (Casual asks 1470
// and measures about 1450, Strong club asks 2150 and measures about 2170;
// Club measured 37 over 1790 in 420 games, 1 under 1755 in 560 and 29 over
// 1775 in 560), and the ratings above were set around those.
struct LevelRow {
  const char *name;
  int skill; // -1: not by skill
  int elo;   // 0: not by rating
  int depth;
  int candidates;
  int marginCp;
};

const LevelRow LEVELS[LEVEL_MAX] = {
    {"Beginner", -1, 0, 1, 6, 290}, {"Novice", -1, 0, 3, 5, 180},       {"Casual", -1, 1470, 0, 1, 0},
    {"Club", -1, 1775, 0, 1, 0},    {"Strong club", -1, 2150, 0, 1, 0}, {"Expert", -1, 2460, 0, 1, 0},
    {"Master", -1, 2795, 0, 1, 0},  {"Full strength", -1, 0, 0, 1, 0},
};

bool Has(const std::set<std::string> &options, const char *name) { return options.count(name) != 0; }

// The engine's strength options back at their full-strength values.
void AddFullStrength(CLevelPlan &plan, const std::set<std::string> &options) {
  if (Has(options, LIMIT))
    plan.options.emplace_back(LIMIT, "false");
  if (Has(options, SKILL))
    plan.options.emplace_back(SKILL, std::to_string(SKILL_FULL));
  if (Has(options, MULTI_PV))
    plan.options.emplace_back(MULTI_PV, "1");
  // Only searches on a clock look at it, so it is set once for all.
  if (Has(options, MOVE_OVERHEAD)) {
    plan.options.emplace_back(MOVE_OVERHEAD, std::to_string(MOVE_OVERHEAD_MS));
    plan.engineTakesOverhead = true;
  }
}

void SetOption(CLevelPlan &plan, const std::string &name, const std::string &value) {
  for (auto &option : plan.options)
    if (option.first == name) {
      option.second = value;
      return;
    }
  plan.options.emplace_back(name, value);
}

} // namespace

const char *LevelName(int level) { return level >= LEVEL_MIN && level <= LEVEL_MAX ? LEVELS[level - 1].name : ""; }

CLevelPlan CLevelPlan::FullStrength(const std::set<std::string> &engineOptions) {
  CLevelPlan plan;
  AddFullStrength(plan, engineOptions);
  return plan;
}

CLevelPlan CLevelPlan::ForLevel(int level, const std::set<std::string> &engineOptions, int skillOverride) {
  CLevelPlan plan = FullStrength(engineOptions);
  if (skillOverride >= 0) {
    if (Has(engineOptions, SKILL)) {
      SetOption(plan, SKILL, std::to_string(skillOverride));
      plan.levelApplies = true;
      plan.weakened = skillOverride < SKILL_FULL;
    }
    return plan;
  }
  const bool canWeaken = Has(engineOptions, SKILL) || (Has(engineOptions, LIMIT) && Has(engineOptions, ELO));
  if (!canWeaken || level < LEVEL_MIN || level > LEVEL_MAX)
    return plan;
  const LevelRow &row = LEVELS[level - 1];
  plan.levelApplies = true;
  plan.weakened = row.skill >= 0 || row.elo > 0 || row.depth > 0 || row.candidates > 1;
  plan.depth = row.depth;
  if (row.skill >= 0 && Has(engineOptions, SKILL)) {
    SetOption(plan, SKILL, std::to_string(row.skill));
  } else if (row.elo > 0) {
    if (Has(engineOptions, LIMIT) && Has(engineOptions, ELO)) {
      SetOption(plan, LIMIT, "true");
      SetOption(plan, ELO, std::to_string(row.elo));
    } else {
      // Only Skill Level: the rating's nearest skill, on Stockfish's scale
      // (level 0 is about 1350, each step above about 75 points).
      SetOption(plan, SKILL, std::to_string(std::min(SKILL_FULL, std::max(0, (row.elo - 1350) / 75))));
    }
  }
  if (row.candidates > 1 && Has(engineOptions, MULTI_PV)) {
    plan.candidates = row.candidates;
    plan.marginCp = row.marginCp;
    SetOption(plan, MULTI_PV, std::to_string(row.candidates));
  }
  return plan;
}

std::string CLevelPlan::GoCommand(int thinkMs) const {
  std::string go = "go movetime " + std::to_string(thinkMs);
  if (depth > 0)
    go += " depth " + std::to_string(depth);
  return go;
}

long long CLevelPlan::WeakenedMoveMs(const SearchClock &clock, bool whiteToMove, int thinkMs) {
  const long long left = std::max(0LL, clock.TimeOf(whiteToMove));
  const long long increment = clock.IncrementOf(whiteToMove);
  // The time for this move and the next ones of the period: each move after
  // this one brings its increment first, and each costs the overhead.
  const long long moves = clock.movesToGo > 0 ? clock.movesToGo : SUDDEN_DEATH_MOVES;
  const long long share = (left + increment * (moves - 1)) / moves - MOVE_OVERHEAD_MS;
  // Half of what is left keeps a large increment, or the last move of a
  // period, from staking the whole clock on one move.
  const long long cap = std::min({static_cast<long long>(thinkMs), share, left / 2});
  return std::max(MOVE_MS_MIN, cap);
}

std::string CLevelPlan::GoCommand(const SearchClock &clock, bool whiteToMove, int thinkMs) const {
  long long times[2] = {clock.whiteMs, clock.blackMs};
  long long &own = times[whiteToMove ? 0 : 1];
  // An engine that cannot be told the overhead is told less time instead.
  if (!engineTakesOverhead)
    own -= MOVE_OVERHEAD_MS;
  // A time of 0 means no clock to a UCI engine, which would then search
  // without end: a clock that has run out is given as 1 ms.
  own = std::max(1LL, own);
  std::string go = "go";
  if (times[0] != SearchClock::NOT_GIVEN)
    go += " wtime " + std::to_string(times[0]);
  if (times[1] != SearchClock::NOT_GIVEN)
    go += " btime " + std::to_string(times[1]);
  if (clock.whiteIncMs > 0)
    go += " winc " + std::to_string(clock.whiteIncMs);
  if (clock.blackIncMs > 0)
    go += " binc " + std::to_string(clock.blackIncMs);
  if (clock.movesToGo > 0)
    go += " movestogo " + std::to_string(clock.movesToGo);
  // Given a clock, the engine plans its time with it; "movetime" and "depth"
  // end the search earlier if they come first (Stockfish 15.1 stops at
  // whichever limit is reached first). Full strength keeps the engine's
  // planning: some engines (Ethereal) take a movetime or a depth in place of
  // the clock.
  if (weakened)
    go += " movetime " + std::to_string(WeakenedMoveMs(clock, whiteToMove, thinkMs));
  if (depth > 0)
    go += " depth " + std::to_string(depth);
  return go;
}
