// The player's rating over the rated games, drawn as a picture: one point a
// game, oldest at the left, joined by a line, over faint lines at the
// ratings of the engine's levels that fall inside the range shown.
#pragma once

#include <irrlicht.h>

#include <vector>

class CRatingGraph {
public:
  // The ratings shown from bottom to top: the series' lowest and highest,
  // widened to at least MIN_SPAN points around their middle, with a tenth
  // of the span as room above and below.
  static constexpr double MIN_SPAN = 200;
  static void Range(const std::vector<double> &ratings, double &low, double &high);
  // The row of a rating in a picture height pixels high: high at the top.
  static int RowOf(double rating, double low, double high, int height);
  // Draws the series; an empty series leaves the picture blank (its
  // background only). levelRatings are the lines drawn where they fall.
  static void Draw(irr::video::IImage *image, const std::vector<double> &ratings,
                   const std::vector<double> &levelRatings);
  // The colours the tests look for.
  static irr::video::SColor Background();
  static irr::video::SColor LineColor();
};
