// One game as a PGN file holds it: tag pairs, the start position, the moves
// and the result.
#pragma once

#include "chess/Move.h"

#include <string>
#include <utility>
#include <vector>

namespace chess {

struct PgnGame {
  // Tag pairs in file order (names are case-sensitive, as in PGN).
  std::vector<std::pair<std::string, std::string>> tags;
  // The start position in FEN; empty for the standard start position.
  std::string startFen;
  std::vector<Move> moves;
  // "1-0", "0-1", "1/2-1/2", or "*" for a game still going on.
  std::string result = "*";

  // The value of a tag, or null.
  const std::string *FindTag(const std::string &name) const {
    for (const auto &tag : tags)
      if (tag.first == name)
        return &tag.second;
    return nullptr;
  }
  // Replaces the tag's value, or appends the tag.
  void SetTag(const std::string &name, const std::string &value) {
    for (auto &tag : tags)
      if (tag.first == name) {
        tag.second = value;
        return;
      }
    tags.emplace_back(name, value);
  }
  bool IsFinished() const { return result != "*"; }
};

} // namespace chess
