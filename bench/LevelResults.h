// The match results of the level calibration (bench/level_elo) and the
// levels' ratings made from them. A result line reads
//
//   result <side> <side> <wins> <draws> <losses> [anything]
//
// with the first side's wins; a side is a level "L3" (or "3") or a Stockfish
// anchor at a UCI_Elo, "E1350". Lines of the same pair add up, in either
// order; any other line (a "#" note, a table) is passed over.
#pragma once

#include "bench/EloEstimate.h"
#include "bridge/CLevelPlan.h"

#include <cstdlib>
#include <istream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace level_results {

constexpr int ANCHOR_ELO_MIN = 1350, ANCHOR_ELO_MAX = 2850; // Stockfish 15.1's UCI_Elo range

// A side: a level of the engine program, or Stockfish at a UCI_Elo.
struct Side {
  int level = 0; // 1..8, or 0 for an anchor
  int elo = 0;   // the anchor's UCI_Elo

  std::string Id() const { return level ? "L" + std::to_string(level) : "E" + std::to_string(elo); }
  bool operator<(const Side &other) const { return Id() < other.Id(); }
  bool operator==(const Side &other) const { return level == other.level && elo == other.elo; }
};

inline std::optional<Side> ParseSide(const std::string &text) {
  if (text.empty())
    return std::nullopt;
  Side side;
  if (text[0] == 'E' || text[0] == 'L') {
    const int value = atoi(text.c_str() + 1);
    (text[0] == 'E' ? side.elo : side.level) = value;
  } else {
    side.level = atoi(text.c_str());
  }
  if (side.level ? side.level < LEVEL_MIN || side.level > LEVEL_MAX
                 : side.elo < ANCHOR_ELO_MIN || side.elo > ANCHOR_ELO_MAX)
    return std::nullopt;
  return side;
}

using Pair = std::pair<Side, Side>; // the first side's score is counted

// Results by pair, each counted once with the sides in a fixed order.
class Results {
public:
  void Add(const Side &a, const Side &b, const elo::Tally &tally) {
    if (b < a)
      tallies[{b, a}] += tally.Reversed();
    else
      tallies[{a, b}] += tally;
  }
  // a's results against b.
  elo::Tally Of(const Side &a, const Side &b) const {
    const bool swapped = b < a;
    const auto found = tallies.find(swapped ? Pair{b, a} : Pair{a, b});
    if (found == tallies.end())
      return {};
    return swapped ? found->second.Reversed() : found->second;
  }
  const std::map<Pair, elo::Tally> &All() const { return tallies; }

  // Adds the result lines of the stream; the number of lines taken.
  int Read(std::istream &lines) {
    int taken = 0;
    for (std::string line; std::getline(lines, line);) {
      std::istringstream words(line);
      std::string keyword, a, b;
      elo::Tally tally;
      if (!(words >> keyword >> a >> b >> tally.wins >> tally.draws >> tally.losses) || keyword != "result")
        continue;
      const auto first = ParseSide(a), second = ParseSide(b);
      if (first && second && tally.wins >= 0 && tally.draws >= 0 && tally.losses >= 0) {
        Add(*first, *second, tally);
        ++taken;
      }
    }
    return taken;
  }

private:
  std::map<Pair, elo::Tally> tallies;
};

// Each level's rating: from its anchors; without a finite one, through the
// level above it (rated first, from the top down) and else the level below.
inline std::map<int, elo::Rating> RateLevels(const Results &results) {
  std::map<int, std::vector<elo::Rating>> direct;
  for (const auto &[pair, tally] : results.All())
    for (const auto &[side, other, points] :
         {std::tuple{pair.first, pair.second, tally}, std::tuple{pair.second, pair.first, tally.Reversed()}})
      if (side.level && !other.level)
        direct[side.level].push_back(elo::FromAnchor(other.elo, points));
  std::map<int, elo::Rating> rated;
  auto finite = [&](int level) {
    const auto found = rated.find(level);
    return found != rated.end() && found->second.games > 0 && !found->second.lowerBound;
  };
  for (int level = LEVEL_MIN; level <= LEVEL_MAX; ++level)
    rated[level] = elo::Combine(direct[level]);
  for (int pass = 0; pass < LEVEL_MAX; ++pass) {
    for (int level = LEVEL_MAX; level >= LEVEL_MIN; --level) {
      if (finite(level))
        continue;
      for (int neighbour : {level + 1, level - 1}) {
        if (!finite(neighbour))
          continue;
        const elo::Rating chained = elo::ThroughMatch(rated[neighbour], results.Of(Side{level, 0}, Side{neighbour, 0}));
        if (chained.games > 0) {
          rated[level] = chained;
          break;
        }
      }
    }
  }
  return rated;
}

} // namespace level_results
