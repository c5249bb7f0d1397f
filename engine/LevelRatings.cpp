#include "engine/LevelRatings.h"

#include <cmath>

namespace {

// Level 1..8: rating, rd, games. Measured in December 2026 with
// bench/level_elo at 100 ms a move for both sides (Threads 1, Hash 16):
// levels 3 to 8 against Stockfish 15.1 with UCI_LimitStrength at UCI_Elo
// values near each (20 to 80 games a level), levels 1 and 2 through their
// scores against the level above (30 and 100 games a pair). The ratings are
// on Stockfish's UCI_Elo scale, which was fitted at 60 s + 0.6 s a game
// against CCRL 40/4; at the game's longer think times full strength, and
// less so the rated levels, play above these figures. rd is the standard
// error of the estimate (half its 95% error bar), at least 50; an estimate
// made through the level above adds that level's error.
const LevelRating LEVEL_RATINGS[8] = {
    {932, 100, 210}, {1201, 90, 110}, {1442, 50, 80}, {1775, 76, 20},
    {2143, 69, 20}, {2563, 59, 20}, {2885, 56, 20}, {3169, 53, 40},
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
