#include "bridge/CLevelPlan.h"

#include <algorithm>

namespace {

const char *const SKILL = "Skill Level";
const char *const LIMIT = "UCI_LimitStrength";
const char *const ELO = "UCI_Elo";
const char *const MULTI_PV = "MultiPV";
const int SKILL_FULL = 20;

// How a level is played. The two lowest levels weaken by choice: a shallow
// search lists several candidate moves and one of those scoring close to
// the best is played at random, like a player who sees the moves but not
// which is best. Casual uses a low Skill Level; the levels above it ask for
// an Elo rating. The depth limits keep neighbouring levels apart also at
// short think times, where the time would otherwise bound both alike.
struct LevelRow {
  const char *name;
  int skill; // -1: not by skill
  int elo;   // 0: not by rating
  int depth;
  int candidates;
  int marginCp;
};

const LevelRow LEVELS[LEVEL_MAX] = {
    {"Beginner", -1, 0, 1, 6, 300}, {"Novice", -1, 0, 2, 5, 150},       {"Casual", 1, 0, 4, 1, 0},
    {"Club", -1, 1700, 6, 1, 0},    {"Strong club", -1, 1950, 8, 1, 0}, {"Expert", -1, 2200, 7, 1, 0},
    {"Master", -1, 2550, 0, 1, 0},  {"Full strength", -1, 0, 0, 1, 0},
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
    }
    return plan;
  }
  const bool canWeaken = Has(engineOptions, SKILL) || (Has(engineOptions, LIMIT) && Has(engineOptions, ELO));
  if (!canWeaken || level < LEVEL_MIN || level > LEVEL_MAX)
    return plan;
  const LevelRow &row = LEVELS[level - 1];
  plan.levelApplies = true;
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
