// The sky box: one picture for the four sides, plus top and bottom. The side
// picture's top row equals the top picture and its bottom row equals the
// bottom picture's border, and its left and right edges meet, so no seam shows.
#include "tools/BoardMedia.h"

#include "tools/Noise.h"
#include "tools/Surfaces.h"

#include <algorithm>
#include <cmath>

namespace mediagen {

namespace {

constexpr int kSkySize = 512;
constexpr float kHorizon = 0.5f; // the side picture's middle row lies level with the eye

const SColorF kZenith{0.22f, 0.40f, 0.68f, 1};
const SColorF kHorizonSky{0.80f, 0.86f, 0.92f, 1};
const SColorF kHaze{0.74f, 0.80f, 0.88f, 1};
const SColorF kCloudSea{0.56f, 0.63f, 0.75f, 1};
const SColorF kCloudLight{0.96f, 0.96f, 0.97f, 1};
const SColorF kCloudShade{0.70f, 0.75f, 0.84f, 1};

CRasterImage MakeSkySide() {
  CRasterImage image(kSkySize, kSkySize);
  // Eight lattice cells across the width, so the clouds wrap round the four sides.
  const CValueNoise high(7001u, 8, 64), sea(7002u, 8, 64), shade(7003u, 8, 64);
  for (int y = 0; y < kSkySize; ++y) {
    const float s = (static_cast<float>(y) + 0.5f) / kSkySize;
    for (int x = 0; x < kSkySize; ++x) {
      const float u = (static_cast<float>(x) + 0.5f) / kSkySize * 8.0f;
      SColorF c;
      if (s < kHorizon) {
        c = Mix(kZenith, kHorizonSky, std::pow(s / kHorizon, 1.7f));
        // Thin, wide high clouds, away from the top row and the horizon.
        const float band = SmoothStep(0.12f, 0.30f, s) * (1.0f - SmoothStep(0.40f, 0.49f, s));
        const float d = SmoothStep(0.52f, 0.78f, high.Fractal(u, s * 10.0f, 5)) * band;
        c = Mix(c, Mix(kCloudLight, kCloudShade, shade.Fractal(u * 2.0f, s * 12.0f, 3)), d * 0.8f);
      } else {
        // Below the eye a sea of clouds: flattened towards the horizon, fading to
        // a plain colour at the bottom row, where the bottom picture takes over.
        const float depth = (s - kHorizon) / (1.0f - kHorizon);
        const float perspective = 1.0f / (depth + 0.08f);
        const float n = sea.Fractal(u, perspective * 1.5f, 5);
        const SColorF base = Mix(kHaze, kCloudSea, SmoothStep(0.0f, 0.6f, depth));
        const SColorF lit = Mix(base, kCloudLight, 0.35f);
        c = Mix(base, lit, SmoothStep(0.45f, 0.75f, n) * (1.0f - SmoothStep(0.55f, 0.95f, depth)));
        c = Mix(kHorizonSky, c, SmoothStep(0.0f, 0.06f, depth));
      }
      image.Set(x, y, c);
    }
  }
  return image;
}

CRasterImage MakeSkyBottom() {
  CRasterImage image(kSkySize, kSkySize, kCloudSea);
  const CValueNoise sea(7004u, 6, 6);
  for (int y = 0; y < kSkySize; ++y)
    for (int x = 0; x < kSkySize; ++x) {
      const float fx = (static_cast<float>(x) + 0.5f) / kSkySize, fy = (static_cast<float>(y) + 0.5f) / kSkySize;
      // Soft variation in the middle only, so the border matches the sides' bottom row.
      const float edge = std::min(std::min(fx, 1.0f - fx), std::min(fy, 1.0f - fy));
      const float inside = SmoothStep(0.05f, 0.3f, edge);
      const float n = sea.Fractal(fx * 6.0f, fy * 6.0f, 4);
      image.Set(x, y, Mix(kCloudSea, Mix(kCloudSea, kCloudLight, 0.3f), SmoothStep(0.45f, 0.75f, n) * inside));
    }
  return image;
}

} // namespace

bool WriteSkyMedia(const CMediaFolder &folder) {
  bool ok = folder.WriteBmp("sky_top.bmp", CRasterImage(kSkySize, kSkySize, kZenith));
  ok &= folder.WriteBmp("sky_bottom.bmp", MakeSkyBottom());
  ok &= folder.WriteBmp("sky_l_r_f_b.bmp", MakeSkySide());
  return ok;
}

} // namespace mediagen
