// The Elo arithmetic of the level calibration (bench/level_elo): the
// difference a score stands for, its error bar, and ratings from anchors,
// through chains of matches and combined; the result lines the matches are
// kept in, and the levels' table made from the stored ones.
#include "bench/EloEstimate.h"
#include "bench/LevelResults.h"
#include "engine/LevelRatings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

using elo::Rating;
using elo::Tally;

TEST(LevelElo, ScoreBecomesAnEloDifference) {
  EXPECT_DOUBLE_EQ(elo::DiffOfScore(0.5), 0.0);
  EXPECT_NEAR(elo::DiffOfScore(10.0 / 11.0), 400.0, 1e-9); // odds of 10 to 1
  EXPECT_NEAR(elo::DiffOfScore(0.75), 190.85, 0.01);
  EXPECT_NEAR(elo::DiffOfScore(0.2), -elo::DiffOfScore(0.8), 1e-9);

  const Tally tally{12, 6, 2};
  EXPECT_EQ(tally.Games(), 20);
  EXPECT_DOUBLE_EQ(tally.Score(), 0.75);
  EXPECT_DOUBLE_EQ(tally.Reversed().Score(), 0.25);
  EXPECT_FALSE(tally.Extreme());
  EXPECT_TRUE((Tally{5, 0, 0}).Extreme());
  EXPECT_TRUE((Tally{0, 0, 5}).Extreme());
  EXPECT_FALSE((Tally{4, 1, 0}).Extreme()) << "a draw leaves the score below 1";
}

TEST(LevelElo, ErrorBarComesFromTheSpreadOfTheGamePoints) {
  // Ten wins and ten losses: points of 0 and 1 around 0.5, sample variance
  // 20 * 0.25 / 19; at 50% an Elo is worth 400 / (ln 10 * 0.25) points.
  const Tally even{10, 0, 10};
  const double scoreError = std::sqrt(20 * 0.25 / 19) / std::sqrt(20.0);
  EXPECT_NEAR(elo::ScoreStdError(even), scoreError, 1e-12);
  EXPECT_NEAR(elo::DiffStdError(even), scoreError * 400 / (std::log(10.0) * 0.25), 1e-9);
  // Draws spread the points less than wins and losses of the same score.
  EXPECT_LT(elo::DiffStdError(Tally{0, 20, 0}), 1e-12);
  EXPECT_LT(elo::DiffStdError(Tally{5, 10, 5}), elo::DiffStdError(even));
  // More games, a smaller bar; a lopsided score, a wider one in Elo.
  EXPECT_NEAR(elo::DiffStdError(Tally{40, 0, 40}) * std::sqrt(79.0 / 19.0), elo::DiffStdError(even), 1e-9);
  EXPECT_GT(elo::DiffStdError(Tally{18, 0, 2}), elo::DiffStdError(even));
}

TEST(LevelElo, RatingFromAnAnchor) {
  const Rating even = elo::FromAnchor(2200, Tally{10, 0, 10});
  EXPECT_DOUBLE_EQ(even.value, 2200);
  EXPECT_EQ(even.games, 20);
  EXPECT_FALSE(even.lowerBound);
  EXPECT_NEAR(even.Bar95(), 1.96 * elo::DiffStdError(Tally{10, 0, 10}), 1e-9);
  EXPECT_NEAR(elo::FromAnchor(1700, Tally{2, 6, 12}).value, 1700 - 190.85, 0.01);

  // Every game won: only a lower bound, above the anchor; every game lost:
  // no rating at all.
  const Rating allWon = elo::FromAnchor(2850, Tally{30, 0, 0});
  EXPECT_TRUE(allWon.lowerBound);
  EXPECT_GT(allWon.value, 2850 + 300);
  EXPECT_LT(allWon.value, elo::FromAnchor(2850, Tally{60, 0, 0}).value) << "more wins, a higher bound";
  EXPECT_EQ(elo::FromAnchor(1350, Tally{0, 0, 30}).games, 0);
}

TEST(LevelElo, ChainsAndCombinations) {
  const Rating upper = elo::FromAnchor(1350, Tally{5, 0, 15}); // about 1159
  const Tally pair{15, 0, 5};                                  // the upper level's score
  const Rating lower = elo::ThroughMatch(upper, pair.Reversed());
  EXPECT_NEAR(lower.value, upper.value - 190.85, 0.01);
  EXPECT_NEAR(lower.stdError, std::hypot(upper.stdError, elo::DiffStdError(pair)), 1e-9) << "variances add up";
  EXPECT_EQ(lower.games, 40);
  EXPECT_EQ(elo::ThroughMatch(upper, Tally{0, 0, 20}).games, 0) << "an extreme score rates nothing";
  EXPECT_EQ(elo::ThroughMatch(elo::FromAnchor(2850, Tally{9, 0, 0}), pair).games, 0) << "nor does a bound";

  // Equal errors: the mean; a twice-as-wide error: a quarter of the weight.
  Rating a{2000, 50, 20}, b{2100, 50, 30}, c{2100, 100, 10};
  const Rating ab = elo::Combine({a, b});
  EXPECT_DOUBLE_EQ(ab.value, 2050);
  EXPECT_NEAR(ab.stdError, 50 / std::sqrt(2.0), 1e-9);
  EXPECT_EQ(ab.games, 50);
  EXPECT_DOUBLE_EQ(elo::Combine({a, c}).value, 2020);
  // A bound counts only when there is no estimate; then the highest one.
  const Rating bound{3100, 0, 30, true}, higher{3200, 0, 40, true};
  EXPECT_DOUBLE_EQ(elo::Combine({bound, a}).value, 2000);
  EXPECT_DOUBLE_EQ(elo::Combine({bound, higher, Rating()}).value, 3200);
  EXPECT_TRUE(elo::Combine({bound, higher}).lowerBound);
  EXPECT_EQ(elo::Combine({}).games, 0);
}

// --- Result lines and the levels' table -------------------------------------

using level_results::Results;
using level_results::Side;

TEST(LevelElo, ResultLinesOfOnePairAddUpInEitherOrder) {
  std::istringstream lines("# Casual against Stockfish 1350\n"
                           "result L3 E1350 12 4 4  (100 ms a move, 90 plies a game, 300 s)\n"
                           "result E1350 3 6 2 2\n"        // the anchor's own score, level written bare
                           "result L3 E1200 5 0 0\n"       // below Stockfish's range
                           "result L9 L8 1 0 0\n"          // no such level
                           "result L3 E1350 7 x 1\n"       // not a count
                           "level 3 Casual 1442 78 80\n"); // a printed table row
  Results results;
  EXPECT_EQ(results.Read(lines), 2);
  const Side casual{3, 0}, anchor{0, 1350};
  const Tally ofCasual = results.Of(casual, anchor);
  EXPECT_EQ(ofCasual.wins, 14);
  EXPECT_EQ(ofCasual.draws, 6);
  EXPECT_EQ(ofCasual.losses, 10);
  EXPECT_EQ(results.Of(anchor, casual).wins, 10);
  EXPECT_EQ(results.All().size(), 1u);
  EXPECT_EQ(results.Of(casual, Side{0, 1600}).Games(), 0);
}

TEST(LevelElo, LevelsAreRatedFromAnchorsAndBelowTheRangeThroughTheLevelAbove) {
  Results results;
  const Side casual{3, 0}, novice{2, 0}, beginner{1, 0};
  results.Add(casual, Side{0, 1350}, Tally{26, 4, 10});
  results.Add(casual, Side{0, 1600}, Tally{10, 4, 26});
  results.Add(novice, casual, Tally{5, 0, 35});
  results.Add(beginner, novice, Tally{4, 0, 36});
  const auto rated = level_results::RateLevels(results);

  // Two anchors either side: an estimate between them, surer than either.
  const Rating low = elo::FromAnchor(1350, Tally{26, 4, 10}), high = elo::FromAnchor(1600, Tally{10, 4, 26});
  const Rating &three = rated.at(3);
  EXPECT_GT(three.value, 1350);
  EXPECT_LT(three.value, 1600);
  EXPECT_NEAR(three.value, elo::Combine({low, high}).value, 1e-9);
  EXPECT_LT(three.stdError, std::min(low.stdError, high.stdError));
  EXPECT_EQ(three.games, 80);

  // Each step down takes the level above's rating and adds its own error.
  const Rating &two = rated.at(2), &one = rated.at(1);
  EXPECT_NEAR(two.value, three.value - elo::DiffOfScore(35.0 / 40), 1e-9);
  EXPECT_NEAR(one.value, two.value - elo::DiffOfScore(36.0 / 40), 1e-9);
  EXPECT_GT(two.stdError, three.stdError);
  EXPECT_GT(one.stdError, two.stdError);
  EXPECT_EQ(one.games, 160);
  // Levels without any match have no rating.
  EXPECT_EQ(rated.at(5).games, 0);

  // A level that won every game is only bounded, and rates nothing below it.
  Results swept;
  swept.Add(casual, Side{0, 1350}, Tally{20, 0, 0});
  swept.Add(novice, casual, Tally{2, 0, 18});
  const auto bounded = level_results::RateLevels(swept);
  EXPECT_TRUE(bounded.at(3).lowerBound);
  EXPECT_EQ(bounded.at(2).games, 0);
}

// The table the game rates players against (engine/LevelRatings.cpp) is the
// one the stored match results give: a new match added to the results file
// without the table made again, or a table edited by hand, shows here.
TEST(LevelElo, LevelTableIsTheOneTheStoredResultsGive) {
  std::ifstream file(KELVAR_SOURCE_DIR "/bench/results/level_elo.txt");
  ASSERT_TRUE(file) << "bench/results/level_elo.txt";
  Results results;
  ASSERT_GT(results.Read(file), 0);
  const auto rated = level_results::RateLevels(results);
  for (int level = LEVEL_MIN; level <= LEVEL_MAX; ++level) {
    const Rating &measured = rated.at(level);
    const LevelRating table = RatingOfLevel(level);
    ASSERT_GT(measured.games, 0) << "level " << level << " has no finite rating";
    ASSERT_FALSE(measured.lowerBound) << "level " << level;
    EXPECT_EQ(table.rating, std::round(measured.value)) << "level " << level;
    EXPECT_EQ(table.games, measured.games) << "level " << level;
    // rd: the standard error, at least 50 (a floor for Glicko-2's sake).
    EXPECT_EQ(table.rd, std::max(50.0, std::round(measured.stdError))) << "level " << level;
  }
}
