#include "engine/LevelRatings.h"

#include <cmath>

namespace {

// Level 1..8: rating, rd, games. Made with bench/level_elo from the result
// lines in bench/results/level_elo.txt (December 2026, 100 ms a move for both
// sides, Threads 1, Hash 16): levels 3 to 7 against Stockfish 15.1 with
// UCI_LimitStrength at two or three UCI_Elo values around each (60 games
// a level, 140 for levels 4 to 6), full strength against UCI_Elo 2850,
// levels 1 and 2 through their scores against the level above. The ratings are on Stockfish's UCI_Elo
// scale, which was fitted at 60 s + 0.6 s a game against CCRL 40/4; at the
// game's longer think times full strength, and less so the rated levels,
// play above these figures. rd is the standard error of the estimate (half
// its 95% error bar), at least 50; an estimate made through the level above
// adds that level's error. A unit test checks this table against the lines.
const LevelRating LEVEL_RATINGS[8] = {
    {770, 76, 940},  {1100, 74, 140}, {1429, 50, 60}, {1814, 50, 140},
    {2133, 50, 140}, {2492, 50, 140}, {2857, 50, 60}, {3140, 50, 60},
};

} // namespace

LevelRating RatingOfLevel(int level) { return level >= 1 && level <= 8 ? LEVEL_RATINGS[level - 1] : LevelRating(); }

int LevelNearestRating(double rating) {
  int best = 1;
  for (int level = 2; level <= 8; ++level)
    if (std::fabs(LEVEL_RATINGS[level - 1].rating - rating) < std::fabs(LEVEL_RATINGS[best - 1].rating - rating))
      best = level;
  return best;
}
