// The player's rating by Mark Glickman's Glicko-2 system ("Example of the
// Glicko-2 system"): a rating, its deviation (how uncertain it is) and a
// volatility (how erratic the player's results are), updated once per
// rating period from the games played in it.
#pragma once

#include <vector>

namespace chess {

// A rating on the Glicko scale; a new player starts at 1500 / 350 / 0.06.
struct Rating {
  double rating = 1500;
  double rd = 350;
  double volatility = 0.06;
};

// One game of a rating period: the opponent's rating at the period's start
// and the player's score (1 a win, 0.5 a draw, 0 a loss).
struct RatedGame {
  Rating opponent;
  double score = 0;
};

// The system constant that limits how fast the volatility may change.
constexpr double GLICKO2_DEFAULT_TAU = 0.75;

// The player's rating after one rating period holding games; with no games
// only the deviation grows. Scores outside 0..1 are clamped. A rating that is
// not finite, a deviation or volatility that is not positive, or tau not
// positive leave the player's rating as it was: such values come only from
// a damaged store, and keeping the old rating is the safe answer.
Rating RateGlicko2(const Rating &player, const std::vector<RatedGame> &games, double tau = GLICKO2_DEFAULT_TAU);

} // namespace chess
