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

CRasterImage MakeMarble(int width, int height, const SMarbleStyle &style, uint32_t seed) {
  CRasterImage image(width, height);
  const float unit = static_cast<float>(std::max(width, height));
  const float a = style.angle * kTwoPi / 360.0f, across = std::cos(a), along = std::sin(a);
  const CValueNoise warpNoise(seed, 2, 2), hairNoise(seed + 7u, 4, 4), cloudNoise(seed + 13u, 3, 3),
      grainNoise(seed + 29u, 64, 64);
  for (int y = 0; y < height; ++y) {
    const float v = static_cast<float>(y) / unit;
    for (int x = 0; x < width; ++x) {
      const float u = static_cast<float>(x) / unit;
      // The main veins: bands along the direction, bent by turbulence; the
      // band's sine crosses zero along a vein, a sharp core in a soft halo.
      const float warp = warpNoise.Fractal(u * 2.0f, v * 2.0f, 6) - 0.5f;
      const float phase = (u * across + v * along) * style.veins + warp * style.turbulence;
      const float band = std::fabs(std::sin(phase * kTwoPi * 0.5f));
      const float vein =
          std::pow(1.0f - band, style.sharpness) + 0.25f * std::pow(1.0f - band, style.sharpness * 0.25f);
      // Hair veins: fainter, finer and across the main ones.
      const float hairWarp = hairNoise.Fractal(u * 4.0f, v * 4.0f, 5) - 0.5f;
      const float hairPhase = (v * across - u * along) * style.veins * 1.7f + hairWarp * style.turbulence * 1.3f;
      const float hair = std::pow(1.0f - std::fabs(std::sin(hairPhase * kTwoPi * 0.5f)), style.sharpness * 3.0f);
      const float cloud = SmoothStep(0.35f, 0.75f, cloudNoise.Fractal(u * 3.0f, v * 3.0f, 4));
      const float grain = grainNoise.Fractal(u * 64.0f, v * 64.0f, 2) - 0.5f;
      SColorF c = Mix(style.base, style.cloud, cloud * 0.7f);
      c = Mix(c, style.vein, Clamp(vein * 0.8f + hair * 0.3f));
      image.Set(x, y, Scale(c, 1.0f + grain * 0.06f));
    }
  }
  return image;
}

CRasterImage MakePlain(int width, int height, const SColorF &color, float speckle, uint32_t seed) {
  CRasterImage image(width, height);
  const CValueNoise fine(seed, 32, 32), broad(seed + 5u, 2, 2);
  for (int y = 0; y < height; ++y) {
    const float v = static_cast<float>(y) / static_cast<float>(height);
    for (int x = 0; x < width; ++x) {
      const float u = static_cast<float>(x) / static_cast<float>(width);
      const float n =
          0.7f * (fine.Fractal(u * 32.0f, v * 32.0f, 2) - 0.5f) + 0.3f * (broad.Fractal(u * 2.0f, v * 2.0f, 2) - 0.5f);
      image.Set(x, y, Scale(color, 1.0f + n * speckle));
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
