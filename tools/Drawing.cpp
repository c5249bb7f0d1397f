#include "tools/Drawing.h"

#include <algorithm>
#include <cmath>

namespace mediagen {

namespace {
constexpr int kSamples = 4;
}

void FillPolygon(CCoverageMask &mask, const std::vector<vector2df> &polygon) {
  if (polygon.size() < 3)
    return;
  float minY = polygon[0].Y, maxY = polygon[0].Y;
  for (const auto &p : polygon) {
    minY = std::min(minY, p.Y);
    maxY = std::max(maxY, p.Y);
  }
  const int y0 = std::max(0, static_cast<int>(std::floor(minY)));
  const int y1 = std::min(mask.Height() - 1, static_cast<int>(std::ceil(maxY)));
  std::vector<float> crossings;
  std::vector<float> row(static_cast<size_t>(mask.Width()));
  const float weight = 1.0f / (kSamples * kSamples);
  for (int y = y0; y <= y1; ++y) {
    std::fill(row.begin(), row.end(), 0.0f);
    for (int sy = 0; sy < kSamples; ++sy) {
      const float fy = static_cast<float>(y) + (static_cast<float>(sy) + 0.5f) / kSamples;
      crossings.clear();
      for (size_t i = 0; i < polygon.size(); ++i) {
        const vector2df &a = polygon[i], &b = polygon[(i + 1) % polygon.size()];
        if ((a.Y <= fy) != (b.Y <= fy))
          crossings.push_back(a.X + (fy - a.Y) / (b.Y - a.Y) * (b.X - a.X));
      }
      std::sort(crossings.begin(), crossings.end());
      for (size_t c = 0; c + 1 < crossings.size(); c += 2)
        for (int x = std::max(0, static_cast<int>(std::floor(crossings[c])));
             x <= std::min(mask.Width() - 1, static_cast<int>(std::floor(crossings[c + 1]))); ++x)
          for (int sx = 0; sx < kSamples; ++sx) {
            const float fx = static_cast<float>(x) + (static_cast<float>(sx) + 0.5f) / kSamples;
            if (fx >= crossings[c] && fx < crossings[c + 1])
              row[x] += weight;
          }
    }
    for (int x = 0; x < mask.Width(); ++x)
      if (row[x] > 0.0f)
        mask.Max(x, y, std::min(1.0f, row[x]));
  }
}

void FillDisc(CCoverageMask &mask, float cx, float cy, float r) {
  std::vector<vector2df> polygon;
  const int steps = std::max(12, static_cast<int>(r * 6.0f));
  for (int i = 0; i < steps; ++i) {
    const float a = 6.2831853f * static_cast<float>(i) / static_cast<float>(steps);
    polygon.emplace_back(cx + r * std::cos(a), cy + r * std::sin(a));
  }
  FillPolygon(mask, polygon);
}

void PaintPolygon(CRasterImage &image, const std::vector<vector2df> &polygon, const SColorF &color) {
  CCoverageMask mask(image.Width(), image.Height());
  FillPolygon(mask, polygon);
  image.Paint(mask, 0, 0, color);
}

void PaintDisc(CRasterImage &image, float cx, float cy, float r, const SColorF &color) {
  CCoverageMask mask(image.Width(), image.Height());
  FillDisc(mask, cx, cy, r);
  image.Paint(mask, 0, 0, color);
}

} // namespace mediagen
