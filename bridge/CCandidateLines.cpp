#include "bridge/CCandidateLines.h"

#include "chess/Move.h"

#include <algorithm>
#include <sstream>

namespace {

// A mate in n scores this minus n (or its negative when being mated), far
// above any material balance.
const int MATE_SCORE = 100000;

} // namespace

void CCandidateLines::OnInfo(const std::string &text) {
  std::istringstream words(text);
  std::string word;
  if (!(words >> word) || word != "info")
    return;
  Line line;
  int index = 1;
  bool scored = false;
  while (words >> word) {
    if (word == "depth") {
      words >> line.depth;
    } else if (word == "multipv") {
      words >> index;
    } else if (word == "score") {
      std::string kind;
      int value = 0;
      if (!(words >> kind >> value))
        return;
      if (kind == "cp") {
        line.score = value;
        scored = true;
      } else if (kind == "mate") {
        line.score = value > 0 ? MATE_SCORE - value : -MATE_SCORE - value;
        scored = true;
      }
    } else if (word == "lowerbound" || word == "upperbound") {
      return; // a bound, not the line's score
    } else if (word == "pv") {
      words >> line.move;
      break;
    }
  }
  if (!scored || !chess::IsMoveText(line.move) || index < 1)
    return;
  Line &kept = lines[index];
  if (line.depth >= kept.depth)
    kept = line;
}

std::string CCandidateLines::Pick(int marginCp, std::mt19937 &random) const {
  if (lines.empty())
    return "";
  // Lines of a shallower depth than the deepest are left over from an
  // earlier iteration: compare only lines of the final depth.
  int depth = 0;
  for (const auto &[index, line] : lines)
    depth = std::max(depth, line.depth);
  int best = -2 * MATE_SCORE;
  for (const auto &[index, line] : lines)
    if (line.depth == depth)
      best = std::max(best, line.score);
  const bool mating = best > MATE_SCORE / 2;
  std::vector<std::string> close;
  for (const auto &[index, line] : lines)
    if (line.depth == depth && (mating ? line.score == best : line.score >= best - marginCp))
      close.push_back(line.move);
  std::uniform_int_distribution<size_t> choose(0, close.size() - 1);
  return close[choose(random)];
}
