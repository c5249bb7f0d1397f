// Seeded, platform-independent pseudo-random numbers and lattice noise, so that
// every generated texture is the same on every run and every machine.
#pragma once

#include <cstdint>

namespace mediagen {

// SplitMix64: a small generator with a fixed algorithm (unlike std::rand).
class CRandom {
public:
  explicit CRandom(uint64_t seed) : state(seed) {}
  // Next raw 64-bit value.
  uint64_t Next();
  // Uniform value in [0, 1).
  float Uniform();
  // Uniform value in [lo, hi).
  float Range(float lo, float hi) { return lo + (hi - lo) * Uniform(); }

private:
  uint64_t state;
};

// Smooth value noise on an integer lattice that repeats every periodX x periodY
// cells, so that a picture made from it tiles seamlessly when asked to.
class CValueNoise {
public:
  CValueNoise(uint32_t seed, int periodX, int periodY);

  // Noise in [0, 1] at (x, y) in lattice units.
  float At(float x, float y) const;
  // Sum of octaves (each twice the frequency, half the weight), normalised to [0, 1].
  float Fractal(float x, float y, int octaves) const;

private:
  float Lattice(int ix, int iy, int octave) const;

  uint32_t seed;
  int periodX, periodY;
};

} // namespace mediagen
