#include "engine/LevelRatings.h"

#include <cmath>

namespace {

// Level 1..8. The error bar of a measurement (two standard errors) is
// about twice the RD given here.
const LevelRating LEVEL_RATINGS[8] = {
    {600, 150, 0},  {850, 150, 0},  {1150, 150, 0}, {1650, 150, 0},
    {1950, 150, 0}, {2200, 150, 0}, {2550, 150, 0}, {3000, 150, 0},
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
