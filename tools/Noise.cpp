#include "tools/Noise.h"

#include <cmath>

namespace mediagen {

uint64_t CRandom::Next() {
  uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

float CRandom::Uniform() { return static_cast<float>(Next() >> 40) / static_cast<float>(1ull << 24); }

CValueNoise::CValueNoise(uint32_t s, int px, int py) : seed(s), periodX(px > 0 ? px : 1), periodY(py > 0 ? py : 1) {}

namespace {

uint32_t Hash(uint32_t x) {
  x ^= x >> 16;
  x *= 0x7FEB352Du;
  x ^= x >> 15;
  x *= 0x846CA68Bu;
  x ^= x >> 16;
  return x;
}

int WrapIndex(int i, int period) {
  const int m = i % period;
  return m < 0 ? m + period : m;
}

float Fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }

} // namespace

float CValueNoise::Lattice(int ix, int iy, int octave) const {
  // Each octave doubles the lattice density, so its period doubles too.
  const int px = periodX << octave, py = periodY << octave;
  const uint32_t h = Hash(static_cast<uint32_t>(WrapIndex(ix, px)) * 73856093u ^
                          Hash(static_cast<uint32_t>(WrapIndex(iy, py)) * 19349663u ^ (seed + 977u * octave)));
  return static_cast<float>(h & 0xFFFFFFu) / static_cast<float>(0xFFFFFF);
}

float CValueNoise::At(float x, float y) const { return Fractal(x, y, 1); }

float CValueNoise::Fractal(float x, float y, int octaves) const {
  float sum = 0.0f, weight = 1.0f, total = 0.0f;
  for (int o = 0; o < octaves; ++o) {
    const float scale = static_cast<float>(1 << o);
    const float sx = x * scale, sy = y * scale;
    const float fx = std::floor(sx), fy = std::floor(sy);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const float tx = Fade(sx - fx), ty = Fade(sy - fy);
    const float a = Lattice(ix, iy, o), b = Lattice(ix + 1, iy, o);
    const float c = Lattice(ix, iy + 1, o), d = Lattice(ix + 1, iy + 1, o);
    const float top = a + (b - a) * tx, bottom = c + (d - c) * tx;
    sum += (top + (bottom - top) * ty) * weight;
    total += weight;
    weight *= 0.5f;
  }
  return sum / total;
}

} // namespace mediagen
