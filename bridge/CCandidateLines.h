// The candidate lines of one multi-line search ("info ... multipv N score cp
// X ... pv MOVE ..."), kept at the deepest depth each line reached, and the
// weakened choice among them.
#pragma once

#include <map>
#include <random>
#include <string>
#include <vector>

class CCandidateLines {
public:
  // Forgets the lines of the last search.
  void Clear() { lines.clear(); }
  // Takes one output line of the engine; lines that are not a scored
  // principal variation are ignored.
  void OnInfo(const std::string &line);
  // A move among the candidates whose score is within marginCp of the best
  // one, chosen at random; "" if no line was seen. A mate the engine has
  // found is always within the margin of itself only, so it is not missed
  // for a quiet move.
  std::string Pick(int marginCp, std::mt19937 &random) const;
  size_t Count() const { return lines.size(); }

private:
  struct Line {
    int depth = 0;
    int score = 0; // centipawns; mates far beyond any material score
    std::string move;
  };
  std::map<int, Line> lines; // by multipv index
};
