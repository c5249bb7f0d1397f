#include "tools/Surfaces.h"

#include "tools/Noise.h"

#include <algorithm>
#include <cmath>

namespace mediagen {

namespace {
constexpr float kTwoPi = 6.2831853f;
}

CRasterImage MakeWood(int width, int height, const SWoodStyle &style, uint32_t seed) {
  CRasterImage image(width, height);
  // Lattice periods along x divide the width, so the grain tiles horizontally.
  const CValueNoise warpNoise(seed, 2, 4), streakNoise(seed + 17u, 3, 96), poreNoise(seed + 31u, 48, 48);
  for (int y = 0; y < height; ++y) {
    const float v = static_cast<float>(y) / static_cast<float>(height);
    for (int x = 0; x < width; ++x) {
      const float u = static_cast<float>(x) / static_cast<float>(width);
      const float wander = warpNoise.Fractal(u * 2.0f, v * 4.0f, 4);
      const float ring = 0.5f + 0.5f * std::sin((v * style.rings + wander * style.warp) * kTwoPi);
      const float streak = streakNoise.Fractal(u * 3.0f, v * 96.0f, 3);
      const float pore = poreNoise.Fractal(u * 48.0f, v * 48.0f, 2);
      float t = (1.0f - style.streakWeight) * ring * ring + style.streakWeight * SmoothStep(0.3f, 0.8f, streak);
      t = Clamp(t + (pore - 0.5f) * 0.12f);
      image.Set(x, y, Mix(style.base, style.grain, t));
    }
  }
  return image;
}

float Luminance(const SColorF &c) { return 0.2126f * c.r + 0.7152f * c.g + 0.0722f * c.b; }

CRasterImage MakeHighlight(const CRasterImage &source, const SColorF &glow, float strength, const SColorF &rimColor,
                           int rim) {
  const int w = source.Width(), h = source.Height();
  // Average luminance, so that the detail keeps its contrast around the glow colour.
  float mean = 0.0f;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      mean += Luminance(source.At(x, y));
  mean /= static_cast<float>(w * h);

  CRasterImage out(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const SColorF s = source.At(x, y);
      const float detail = mean > 0.0f ? Luminance(s) / mean : 1.0f;
      SColorF c = Mix(s, Scale(glow, detail), strength);
      if (rim > 0) {
        const int edge = std::min(std::min(x, w - 1 - x), std::min(y, h - 1 - y));
        const float r = 1.0f - SmoothStep(0.0f, static_cast<float>(rim), static_cast<float>(edge));
        c = Mix(c, rimColor, r * 0.85f);
      }
      c.a = 1.0f;
      out.Set(x, y, c);
    }
  return out;
}

void DarkenBorder(CRasterImage &image, float amount, float width) {
  const int w = image.Width(), h = image.Height();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const float edge = static_cast<float>(std::min(std::min(x, w - 1 - x), std::min(y, h - 1 - y)));
      const float f = 1.0f - amount * (1.0f - SmoothStep(0.0f, width, edge));
      image.Set(x, y, Scale(image.At(x, y), f));
    }
}

} // namespace mediagen
