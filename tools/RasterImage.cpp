#include "tools/RasterImage.h"

#include <algorithm>
#include <cmath>

namespace mediagen {

SColorF Mix(const SColorF &a, const SColorF &b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

SColorF Scale(const SColorF &c, float f) { return {c.r * f, c.g * f, c.b * f, c.a}; }

float Clamp(float x, float lo, float hi) { return std::min(hi, std::max(lo, x)); }

float SmoothStep(float edge0, float edge1, float x) {
  const float t = Clamp((x - edge0) / (edge1 - edge0));
  return t * t * (3.0f - 2.0f * t);
}

CCoverageMask::CCoverageMask(int w, int h) : width(w), height(h), cover(static_cast<size_t>(w) * h, 0.0f) {}

float CCoverageMask::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height)
    return 0.0f;
  return cover[static_cast<size_t>(y) * width + x];
}

void CCoverageMask::Set(int x, int y, float value) {
  if (x < 0 || y < 0 || x >= width || y >= height)
    return;
  cover[static_cast<size_t>(y) * width + x] = value;
}

void CCoverageMask::Max(int x, int y, float value) {
  if (x < 0 || y < 0 || x >= width || y >= height)
    return;
  float &v = cover[static_cast<size_t>(y) * width + x];
  v = std::max(v, value);
}

namespace {

// One box-filter pass along rows (horizontal) or columns; outside counts as 0.
void BoxPass(std::vector<float> &data, int width, int height, int radius, bool horizontal) {
  const int lines = horizontal ? height : width;
  const int length = horizontal ? width : height;
  std::vector<float> line(static_cast<size_t>(length));
  const float norm = 1.0f / static_cast<float>(2 * radius + 1);
  for (int l = 0; l < lines; ++l) {
    auto index = [&](int i) {
      return horizontal ? static_cast<size_t>(l) * width + i : static_cast<size_t>(i) * width + l;
    };
    for (int i = 0; i < length; ++i)
      line[i] = data[index(i)];
    float sum = 0.0f;
    for (int i = -radius; i <= radius; ++i)
      sum += (i >= 0 && i < length) ? line[i] : 0.0f;
    for (int i = 0; i < length; ++i) {
      data[index(i)] = sum * norm;
      const int add = i + radius + 1, drop = i - radius;
      sum += (add < length) ? line[add] : 0.0f;
      sum -= (drop >= 0) ? line[drop] : 0.0f;
    }
  }
}

} // namespace

void CCoverageMask::Blur(int radius) {
  if (radius <= 0)
    return;
  for (int pass = 0; pass < 3; ++pass) {
    BoxPass(cover, width, height, radius, true);
    BoxPass(cover, width, height, radius, false);
  }
}

void CCoverageMask::Union(const CCoverageMask &other) {
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      Max(x, y, other.At(x, y));
}

CRasterImage::CRasterImage(int w, int h, SColorF fill)
    : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}

SColorF CRasterImage::At(int x, int y) const {
  x = std::min(width - 1, std::max(0, x));
  y = std::min(height - 1, std::max(0, y));
  return pixels[static_cast<size_t>(y) * width + x];
}

void CRasterImage::Set(int x, int y, const SColorF &c) {
  if (x < 0 || y < 0 || x >= width || y >= height)
    return;
  pixels[static_cast<size_t>(y) * width + x] = c;
}

void CRasterImage::Blend(int x, int y, const SColorF &c, float coverage) {
  if (x < 0 || y < 0 || x >= width || y >= height)
    return;
  SColorF &d = pixels[static_cast<size_t>(y) * width + x];
  const float sa = Clamp(c.a * coverage);
  const float outA = sa + d.a * (1.0f - sa);
  if (outA <= 0.0f) {
    d = SColorF{0, 0, 0, 0};
    return;
  }
  d.r = (c.r * sa + d.r * d.a * (1.0f - sa)) / outA;
  d.g = (c.g * sa + d.g * d.a * (1.0f - sa)) / outA;
  d.b = (c.b * sa + d.b * d.a * (1.0f - sa)) / outA;
  d.a = outA;
}

void CRasterImage::Paint(const CCoverageMask &mask, int left, int top, const SColorF &c) {
  for (int y = 0; y < mask.Height(); ++y)
    for (int x = 0; x < mask.Width(); ++x) {
      const float m = mask.At(x, y);
      if (m > 0.0f)
        Blend(left + x, top + y, c, m);
    }
}

void CRasterImage::FillRect(int x0, int y0, int x1, int y1, const SColorF &c) {
  for (int y = std::max(0, y0); y < std::min(height, y1); ++y)
    for (int x = std::max(0, x0); x < std::min(width, x1); ++x)
      pixels[static_cast<size_t>(y) * width + x] = c;
}

unsigned char CRasterImage::Byte(int x, int y, int channel) const {
  const SColorF c = At(x, y);
  const float v = channel == 0 ? c.r : channel == 1 ? c.g : channel == 2 ? c.b : c.a;
  return static_cast<unsigned char>(std::lround(Clamp(v) * 255.0f));
}

} // namespace mediagen
