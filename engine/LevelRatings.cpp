#include "engine/LevelRatings.h"

#include <cmath>

namespace {

// Level 1..8: rating, rd, games. Made with bench/level_elo from the result
// lines in bench/results/level_elo.txt (December 2026, 100 ms a move for both
// sides, Threads 1, Hash 16): levels 3 to 7 against Stockfish 15.1 with
// UCI_LimitStrength (Casual and Strong club at three UCI_Elo values around
// each, Club, Expert and Master at the one they ask for; 140 to 560 games a
// level), full strength against UCI_Elo 2850 (100 games), levels 1 and 2
// through their scores against the level above. The ratings are on Stockfish's UCI_Elo
// scale, which was fitted at 60 s + 0.6 s a game against CCRL 40/4; at the
// game's longer think times full strength, and less so the rated levels,
// play above these figures. rd is the standard error of the estimate (half
// its 95% error bar), at least 50; an estimate made through the level above
// adds that level's error. A unit test checks this table against the lines.
const LevelRating LEVEL_RATINGS[8] = {
    {791, 64, 1100}, {1121, 62, 300}, {1450, 50, 220}, {1804, 50, 560},
    {2167, 50, 420}, {2477, 50, 140}, {2775, 50, 140}, {3125, 50, 100},
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
