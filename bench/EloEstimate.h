// Ratings on the Elo scale from match scores: the difference a score stands
// for, its error bar, and a rating from one or more anchors of known rating.
//
// The error bar: each game scores 1, 1/2 or 0; the standard error of the
// match score is the sample standard deviation of those points over the
// square root of the games played. It becomes a standard error in Elo by the
// slope of the Elo curve at the score (the delta method: d Elo / d score =
// 400 / (ln 10 * s * (1 - s))). The 95% bar is 1.96 standard errors. Ratings
// from several anchors are combined weighted by the inverse of their
// variances; a rating reached through a chain of matches adds the variances.
#pragma once

#include <cmath>
#include <vector>

namespace elo {

constexpr double Z95 = 1.96;

struct Tally {
  int wins = 0, draws = 0, losses = 0;

  int Games() const { return wins + draws + losses; }
  // The points per game, 0..1 (0.5 with no games).
  double Score() const { return Games() ? (wins + 0.5 * draws) / Games() : 0.5; }
  // A score of 0 or 1 has no finite Elo difference.
  bool Extreme() const { return Games() == 0 || wins == Games() || losses == Games(); }
  Tally Reversed() const { return {losses, draws, wins}; }
  Tally &operator+=(const Tally &other) {
    wins += other.wins;
    draws += other.draws;
    losses += other.losses;
    return *this;
  }
};

// The Elo difference a score strictly between 0 and 1 stands for.
inline double DiffOfScore(double score) { return -400.0 * std::log10(1.0 / score - 1.0); }

// The standard error of the match score (see above); 0 with fewer than two games.
inline double ScoreStdError(const Tally &tally) {
  const int n = tally.Games();
  if (n < 2)
    return 0.0;
  const double mean = tally.Score();
  const double squares = tally.wins * (1 - mean) * (1 - mean) + tally.draws * (0.5 - mean) * (0.5 - mean) +
                         tally.losses * mean * mean;
  return std::sqrt(squares / (n - 1)) / std::sqrt(double(n));
}

// The standard error of the Elo difference of a score that is not extreme.
inline double DiffStdError(const Tally &tally) {
  const double s = tally.Score();
  return ScoreStdError(tally) * 400.0 / (std::log(10.0) * s * (1.0 - s));
}

// The Elo difference that all-won games still show with 95% confidence: the
// score p at which winning every one of n games has a chance of 5% (p^n =
// 0.05), ties being rare at such scores. A bound, not an estimate.
inline double DiffLowerBoundAllWon(int games) { return DiffOfScore(std::pow(0.05, 1.0 / games)); }

struct Rating {
  double value = 0;
  double stdError = 0;
  int games = 0;
  bool lowerBound = false; // value is only a 95% lower bound
  double Bar95() const { return Z95 * stdError; }
};

// A rating from a match against an anchor of known rating (the tally is the
// rated side's). An all-won match gives a lower bound, an all-lost one is
// no use as an anchor: it gives an invalid rating (games 0).
inline Rating FromAnchor(double anchor, const Tally &tally) {
  Rating rating;
  if (tally.Games() == 0 || tally.losses == tally.Games())
    return rating;
  rating.games = tally.Games();
  if (tally.wins == tally.Games()) {
    rating.value = anchor + DiffLowerBoundAllWon(tally.Games());
    rating.lowerBound = true;
    return rating;
  }
  rating.value = anchor + DiffOfScore(tally.Score());
  rating.stdError = DiffStdError(tally);
  return rating;
}

// The rating of a side from a match against a rated side (tally: the side's
// own); invalid (games 0) for an extreme score or an unrated opponent.
inline Rating ThroughMatch(const Rating &opponent, const Tally &tally) {
  Rating rating;
  if (opponent.games == 0 || opponent.lowerBound || tally.Extreme())
    return rating;
  rating.value = opponent.value + DiffOfScore(tally.Score());
  rating.stdError = std::sqrt(opponent.stdError * opponent.stdError + DiffStdError(tally) * DiffStdError(tally));
  rating.games = opponent.games + tally.Games();
  return rating;
}

// Estimates of one rating combined, weighted by the inverse of their
// variances. Bounds count only when there is no estimate: the highest bound.
inline Rating Combine(const std::vector<Rating> &ratings) {
  Rating best;
  double weights = 0, weighted = 0;
  int games = 0;
  for (const Rating &rating : ratings) {
    if (rating.games == 0 || rating.lowerBound || rating.stdError <= 0)
      continue;
    const double weight = 1.0 / (rating.stdError * rating.stdError);
    weights += weight;
    weighted += weight * rating.value;
    games += rating.games;
  }
  if (weights > 0) {
    best.value = weighted / weights;
    best.stdError = std::sqrt(1.0 / weights);
    best.games = games;
    return best;
  }
  for (const Rating &rating : ratings)
    if (rating.games > 0 && rating.lowerBound && (best.games == 0 || rating.value > best.value))
      best = rating;
  return best;
}

} // namespace elo
