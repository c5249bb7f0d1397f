// The Glicko-2 rating: Glickman's worked example, a period without games,
// the direction of a result, and extreme ratings.
#include "chess/Glicko.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace chess;

namespace {

Rating Opponent(double rating, double rd) { return Rating{rating, rd, 0.06}; }

TEST(Glicko2Test, GlickmansWorkedExample) {
  const Rating player{1500, 200, 0.06};
  const std::vector<RatedGame> games = {{Opponent(1400, 30), 1}, {Opponent(1550, 100), 0}, {Opponent(1700, 300), 0}};
  const Rating after = RateGlicko2(player, games, 0.5);
  // The paper rounds its intermediate values, so its last printed digit may
  // be one off the exact computation: 1464.06 / 151.52 / 0.05999.
  EXPECT_NEAR(after.rating, 1464.06, 0.01);
  EXPECT_NEAR(after.rd, 151.52, 0.01);
  EXPECT_NEAR(after.volatility, 0.05999, 0.00001);
}

TEST(Glicko2Test, PeriodWithoutGamesOnlyGrowsTheDeviation) {
  const Rating player{1700, 200, 0.06};
  const Rating after = RateGlicko2(player, {});
  EXPECT_EQ(after.rating, 1700);
  EXPECT_EQ(after.volatility, 0.06);
  // phi* = sqrt(phi^2 + sigma^2) on the Glicko-2 scale.
  const double phi = 200 / 173.7178;
  EXPECT_NEAR(after.rd, std::sqrt(phi * phi + 0.06 * 0.06) * 173.7178, 1e-9);
  EXPECT_GT(after.rd, player.rd);
  // A new player's rating deviation grows past 350 too: nothing caps it.
  EXPECT_GT(RateGlicko2(Rating{}, {}).rd, 350);
}

TEST(Glicko2Test, ResultsMoveTheRatingTheirWay) {
  struct Case {
    double player, opponent, score;
    int direction; // +1 up, -1 down, 0 unchanged
  };
  const Case cases[] = {
      {1500, 1800, 1, +1},   // win against a stronger player
      {1500, 1200, 1, +1},   // win against a weaker one
      {1500, 1200, 0, -1},   // loss against a weaker one
      {1500, 1800, 0, -1},   // loss against a stronger one
      {1500, 1800, 0.5, +1}, // draw against a stronger one
      {1500, 1200, 0.5, -1}, // draw against a weaker one
      {1500, 1500, 0.5, 0},  // draw between equals
  };
  for (const Case &c : cases) {
    const Rating before{c.player, 120, 0.06};
    const Rating after = RateGlicko2(before, {{Opponent(c.opponent, 80), c.score}});
    const double change = after.rating - before.rating;
    if (c.direction == 0)
      EXPECT_NEAR(change, 0, 1e-9) << c.player << " vs " << c.opponent << " scoring " << c.score;
    else
      EXPECT_GT(change * c.direction, 1) << c.player << " vs " << c.opponent << " scoring " << c.score;
    // A game played is information: the deviation shrinks.
    EXPECT_LT(after.rd, before.rd);
  }
  // The upset pays more than the expected win.
  const Rating player{1500, 120, 0.06};
  EXPECT_GT(RateGlicko2(player, {{Opponent(1800, 80), 1}}).rating,
            RateGlicko2(player, {{Opponent(1200, 80), 1}}).rating);
}

TEST(Glicko2Test, ExtremesStayFinite) {
  for (double mine : {100.0, 3500.0})
    for (double theirs : {100.0, 3500.0})
      for (double myRd : {30.0, 350.0})
        for (double score : {0.0, 0.5, 1.0}) {
          const double theirRd = myRd == 30 ? 350 : 30;
          for (double tau : {0.3, 0.75, 1.2}) {
            const Rating after = RateGlicko2({mine, myRd, 0.06}, {{Opponent(theirs, theirRd), score}}, tau);
            EXPECT_TRUE(std::isfinite(after.rating) && std::isfinite(after.rd) && std::isfinite(after.volatility))
                << mine << "/" << myRd << " vs " << theirs << "/" << theirRd << " scoring " << score;
            EXPECT_GT(after.rd, 0);
            EXPECT_GT(after.volatility, 0);
            EXPECT_LT(std::fabs(after.rating - mine), 2000);
          }
        }
}

TEST(Glicko2Test, UnusableValuesKeepTheOldRating) {
  const Rating player{1600, 90, 0.06};
  const Rating bad[] = {{NAN, 90, 0.06}, {1500, 0, 0.06}, {1500, -5, 0.06}, {1500, 90, 0}, {INFINITY, 90, 0.06}};
  for (const Rating &opponent : bad) {
    const Rating after = RateGlicko2(player, {{opponent, 1}});
    EXPECT_EQ(after.rating, player.rating);
    EXPECT_EQ(after.rd, player.rd);
  }
  EXPECT_EQ(RateGlicko2(player, {{Opponent(1500, 50), 1}}, 0).rating, player.rating);
  EXPECT_EQ(RateGlicko2(player, {{Opponent(1500, 50), NAN}}).rating, player.rating);
}

} // namespace
