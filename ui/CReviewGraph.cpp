#include "ui/CReviewGraph.h"

#include <algorithm>
#include <cmath>

using namespace irr;

namespace {

const video::SColor LIGHT(255, 236, 232, 222);
const video::SColor DARK(255, 52, 50, 48);
const video::SColor UNKNOWN(255, 120, 118, 112);
const video::SColor EVEN_LINE(255, 140, 140, 140);
const int DOT_RADIUS = 3;

// The row of a Win% in a picture height pixels high: 100 at the top.
int RowOf(double whiteWin, int height) {
  return int(std::lround((100.0 - std::clamp(whiteWin, 0.0, 100.0)) / 100.0 * (height - 1)));
}

} // namespace

int CReviewGraph::XOfPosition(size_t index, int width, size_t positions) {
  if (positions < 2)
    return width / 2;
  return int(std::lround(double(index) * (width - 1) / double(positions - 1)));
}

size_t CReviewGraph::PositionAtX(int x, int width, size_t positions) {
  if (positions < 2 || width < 2)
    return 0;
  const double at = double(std::clamp(x, 0, width - 1)) * double(positions - 1) / double(width - 1);
  return std::min(size_t(std::lround(at)), positions - 1);
}

video::SColor CReviewGraph::MarkColor(chess::MoveMark mark) {
  switch (mark) {
  case chess::MoveMark::Inaccuracy:
    return video::SColor(255, 240, 210, 40);
  case chess::MoveMark::Mistake:
    return video::SColor(255, 240, 130, 20);
  case chess::MoveMark::Blunder:
    return video::SColor(255, 220, 30, 30);
  default:
    return video::SColor(0, 0, 0, 0);
  }
}

void CReviewGraph::Draw(video::IImage *image, const std::vector<double> &whiteWin, const std::vector<bool> &known,
                        const std::vector<chess::MoveMark> &marks) {
  if (!image)
    return;
  const int width = int(image->getDimension().Width), height = int(image->getDimension().Height);
  const size_t positions = std::min(whiteWin.size(), known.size());
  // The curve runs from the first position to the last judged one without a gap.
  size_t judged = 0;
  while (judged < positions && known[judged])
    ++judged;
  const int lastX = judged == 0 ? -1 : XOfPosition(judged - 1, width, positions);
  for (int x = 0; x < width; ++x) {
    int curve = -1;
    if (x <= lastX && judged > 0) {
      // White's Win% between the two positions around the column.
      const double at = positions < 2 ? 0 : double(x) * double(positions - 1) / double(width - 1);
      const size_t left = std::min(size_t(at), judged - 1), right = std::min(left + 1, judged - 1);
      const double share = at - double(left);
      curve = RowOf(whiteWin[left] + (whiteWin[right] - whiteWin[left]) * share, height);
    }
    for (int y = 0; y < height; ++y)
      image->setPixel(u32(x), u32(y), curve < 0 ? UNKNOWN : y >= curve ? LIGHT : DARK);
  }
  const int middle = RowOf(50, height);
  for (int x = 0; x < width; ++x)
    image->setPixel(u32(x), u32(middle), EVEN_LINE);
  for (size_t ply = 0; ply < marks.size() && ply + 1 < judged; ++ply) {
    if (marks[ply] == chess::MoveMark::None)
      continue;
    const int cx = XOfPosition(ply + 1, width, positions), cy = RowOf(whiteWin[ply + 1], height);
    for (int dy = -DOT_RADIUS; dy <= DOT_RADIUS; ++dy)
      for (int dx = -DOT_RADIUS; dx <= DOT_RADIUS; ++dx)
        if (dx * dx + dy * dy <= DOT_RADIUS * DOT_RADIUS && cx + dx >= 0 && cx + dx < width && cy + dy >= 0 &&
            cy + dy < height)
          image->setPixel(u32(cx + dx), u32(cy + dy), MarkColor(marks[ply]));
  }
}
