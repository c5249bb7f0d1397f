#include "chess/Glicko.h"

#include <algorithm>
#include <cmath>

namespace chess {

namespace {

// Glicko scale to Glicko-2 scale: (r - 1500) / SCALE and RD / SCALE.
constexpr double SCALE = 173.7178;
constexpr double BASE = 1500;
// The convergence tolerance of the volatility iteration.
constexpr double EPSILON = 0.000001;
// The Illinois iteration converges in a few dozen steps; the cap only keeps
// a pathological input from looping forever.
constexpr int MAX_ITERATIONS = 1000;
constexpr double PI = 3.14159265358979323846;

double G(double phi) { return 1.0 / std::sqrt(1.0 + 3.0 * phi * phi / (PI * PI)); }

double E(double mu, double muJ, double phiJ) { return 1.0 / (1.0 + std::exp(-G(phiJ) * (mu - muJ))); }

bool Usable(const Rating &r) {
  return std::isfinite(r.rating) && std::isfinite(r.rd) && std::isfinite(r.volatility) && r.rd > 0 && r.volatility > 0;
}

// The new volatility: the root of f by the Illinois variant of regula falsi
// (step 5 of the paper).
double NewVolatility(double sigma, double phi, double v, double delta, double tau) {
  const double a = std::log(sigma * sigma);
  const double phi2 = phi * phi;
  const double delta2 = delta * delta;
  const auto f = [&](double x) {
    const double ex = std::exp(x);
    const double d = phi2 + v + ex;
    return ex * (delta2 - phi2 - v - ex) / (2.0 * d * d) - (x - a) / (tau * tau);
  };
  double A = a;
  double B;
  if (delta2 > phi2 + v) {
    B = std::log(delta2 - phi2 - v);
  } else {
    int k = 1;
    while (f(a - k * tau) < 0 && k < MAX_ITERATIONS)
      ++k;
    B = a - k * tau;
  }
  double fA = f(A);
  double fB = f(B);
  for (int i = 0; std::fabs(B - A) > EPSILON && i < MAX_ITERATIONS; ++i) {
    const double C = A + (A - B) * fA / (fB - fA);
    const double fC = f(C);
    if (fC * fB <= 0) {
      A = B;
      fA = fB;
    } else {
      fA /= 2;
    }
    B = C;
    fB = fC;
  }
  return std::exp(A / 2);
}

} // namespace

Rating RateGlicko2(const Rating &player, const std::vector<RatedGame> &games, double tau) {
  if (!Usable(player) || !(tau > 0) || !std::isfinite(tau))
    return player;
  for (const RatedGame &game : games)
    if (!Usable(game.opponent) || std::isnan(game.score))
      return player;

  const double mu = (player.rating - BASE) / SCALE;
  const double phi = player.rd / SCALE;
  const double sigma = player.volatility;

  if (games.empty()) {
    // Step 6 alone: the deviation grows by the volatility, nothing else moves.
    Rating out = player;
    out.rd = std::sqrt(phi * phi + sigma * sigma) * SCALE;
    return out;
  }

  // Steps 3 and 4: the estimated variance v and the improvement delta.
  double vInverse = 0;
  double sum = 0; // sum of g(phi_j) (s_j - E_j)
  for (const RatedGame &game : games) {
    const double muJ = (game.opponent.rating - BASE) / SCALE;
    const double phiJ = game.opponent.rd / SCALE;
    const double g = G(phiJ);
    const double e = E(mu, muJ, phiJ);
    vInverse += g * g * e * (1 - e);
    sum += g * (std::clamp(game.score, 0.0, 1.0) - e);
  }
  // E never reaches 0 or 1 for ratings that are apart by less than the range
  // of a double's exponent, but a far outlier could: no information then.
  if (!(vInverse > 0)) {
    Rating out = player;
    out.rd = std::sqrt(phi * phi + sigma * sigma) * SCALE;
    return out;
  }
  const double v = 1.0 / vInverse;
  const double delta = v * sum;

  // Steps 5 to 7.
  const double newSigma = NewVolatility(sigma, phi, v, delta, tau);
  const double phiStar = std::sqrt(phi * phi + newSigma * newSigma);
  const double newPhi = 1.0 / std::sqrt(1.0 / (phiStar * phiStar) + 1.0 / v);
  const double newMu = mu + newPhi * newPhi * sum;

  // Step 8: back to the Glicko scale.
  return Rating{newMu * SCALE + BASE, newPhi * SCALE, newSigma};
}

} // namespace chess
