#include "ui/CRatingGraph.h"

#include "ui/CReviewGraph.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

using namespace irr;

namespace {

const video::SColor BACKGROUND(255, 236, 232, 222);
const video::SColor LEVEL_LINE(255, 190, 186, 176);
const video::SColor LINE(255, 40, 110, 200);
const int DOT_RADIUS = 2;
const int DASH = 4;             // the level lines: this many pixels drawn, as many left out
const int MIN_PIXELS_A_DOT = 6; // closer points are joined without dots

void Plot(video::IImage *image, int x, int y, const video::SColor &color) {
  const core::dimension2d<u32> size = image->getDimension();
  if (x >= 0 && y >= 0 && u32(x) < size.Width && u32(y) < size.Height)
    image->setPixel(u32(x), u32(y), color);
}

// A line two pixels thick: every step along the longer axis sets the pixel
// and its neighbour across the line.
void Line(video::IImage *image, int x0, int y0, int x1, int y1, const video::SColor &color) {
  const int dx = x1 - x0, dy = y1 - y0;
  const int steps = std::max(std::abs(dx), std::abs(dy));
  const bool flat = std::abs(dx) >= std::abs(dy);
  for (int i = 0; i <= steps; ++i) {
    const int x = steps == 0 ? x0 : x0 + int(std::lround(double(dx) * i / steps));
    const int y = steps == 0 ? y0 : y0 + int(std::lround(double(dy) * i / steps));
    Plot(image, x, y, color);
    Plot(image, flat ? x : x + 1, flat ? y + 1 : y, color);
  }
}

void Dot(video::IImage *image, int cx, int cy, const video::SColor &color) {
  for (int dy = -DOT_RADIUS; dy <= DOT_RADIUS; ++dy)
    for (int dx = -DOT_RADIUS; dx <= DOT_RADIUS; ++dx)
      if (dx * dx + dy * dy <= DOT_RADIUS * DOT_RADIUS + 1)
        Plot(image, cx + dx, cy + dy, color);
}

} // namespace

video::SColor CRatingGraph::Background() { return BACKGROUND; }
video::SColor CRatingGraph::LineColor() { return LINE; }

void CRatingGraph::Range(const std::vector<double> &ratings, double &low, double &high) {
  if (ratings.empty()) {
    low = 1500 - MIN_SPAN / 2;
    high = 1500 + MIN_SPAN / 2;
    return;
  }
  const auto [lowest, highest] = std::minmax_element(ratings.begin(), ratings.end());
  low = *lowest;
  high = *highest;
  if (high - low < MIN_SPAN) {
    const double middle = (low + high) / 2;
    low = middle - MIN_SPAN / 2;
    high = middle + MIN_SPAN / 2;
  }
  const double room = (high - low) / 10;
  low -= room;
  high += room;
}

int CRatingGraph::RowOf(double rating, double low, double high, int height) {
  if (high <= low || height < 2)
    return height / 2;
  const double share = (std::clamp(rating, low, high) - low) / (high - low);
  return int(std::lround((1.0 - share) * (height - 1)));
}

void CRatingGraph::Draw(video::IImage *image, const std::vector<double> &ratings,
                        const std::vector<double> &levelRatings) {
  if (!image)
    return;
  const int width = int(image->getDimension().Width), height = int(image->getDimension().Height);
  image->fill(BACKGROUND);
  if (ratings.empty())
    return;
  double low = 0, high = 0;
  Range(ratings, low, high);
  for (double level : levelRatings) {
    if (level <= low || level >= high)
      continue;
    const int y = RowOf(level, low, high, height);
    for (int x = 0; x < width; ++x)
      if (x / DASH % 2 == 0)
        Plot(image, x, y, LEVEL_LINE);
  }
  const size_t count = ratings.size();
  const auto x = [&](size_t i) { return CReviewGraph::XOfPosition(i, width, count); };
  const auto y = [&](size_t i) { return RowOf(ratings[i], low, high, height); };
  for (size_t i = 1; i < count; ++i)
    Line(image, x(i - 1), y(i - 1), x(i), y(i), LINE);
  if (count == 1 || size_t(width) >= count * MIN_PIXELS_A_DOT)
    for (size_t i = 0; i < count; ++i)
      Dot(image, x(i), y(i), LINE);
}
