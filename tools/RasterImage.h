// Floating-point RGBA pictures and coverage masks the generator paints into
// before they are quantised to 8 bits and written as BMP or JPEG.
#pragma once

#include <vector>

namespace mediagen {

// A linear RGBA colour, each channel 0..1.
struct SColorF {
  float r = 0, g = 0, b = 0, a = 1;
};

// Mixes two colours: t = 0 gives a, t = 1 gives b.
SColorF Mix(const SColorF &a, const SColorF &b, float t);

// Multiplies the colour channels (not alpha) by f.
SColorF Scale(const SColorF &c, float f);

// Clamps x into [lo, hi].
float Clamp(float x, float lo = 0.0f, float hi = 1.0f);

// Hermite step from 0 at edge0 to 1 at edge1.
float SmoothStep(float edge0, float edge1, float x);

// One float per pixel, 0 = uncovered, 1 = covered; used for glyphs, shapes and glows.
class CCoverageMask {
public:
  CCoverageMask(int width, int height);

  int Width() const { return width; }
  int Height() const { return height; }

  // Coverage at (x, y); 0 outside the mask.
  float At(int x, int y) const;
  // Sets coverage at (x, y); ignored outside the mask.
  void Set(int x, int y, float value);
  // Raises coverage at (x, y) to at least value (union of shapes).
  void Max(int x, int y, float value);

  // Blurs with a box filter of the given radius, run three times (close to a Gaussian).
  void Blur(int radius);
  // Combines another mask of the same size by taking the larger value per pixel.
  void Union(const CCoverageMask &other);

private:
  int width, height;
  std::vector<float> cover;
};

class CRasterImage {
public:
  CRasterImage(int width, int height, SColorF fill = SColorF{});

  int Width() const { return width; }
  int Height() const { return height; }

  // Colour at (x, y); coordinates are clamped to the picture.
  SColorF At(int x, int y) const;
  // Replaces the colour at (x, y); ignored outside the picture.
  void Set(int x, int y, const SColorF &c);
  // Paints c over the pixel with the given coverage (source-over, alpha included).
  void Blend(int x, int y, const SColorF &c, float coverage);
  // Paints c through a mask whose top-left corner lies at (left, top).
  void Paint(const CCoverageMask &mask, int left, int top, const SColorF &c);
  // Fills the rectangle [x0, x1) x [y0, y1) with c (no blending).
  void FillRect(int x0, int y0, int x1, int y1, const SColorF &c);

  // The channel value quantised to 0..255 with rounding.
  unsigned char Byte(int x, int y, int channel) const;

private:
  int width, height;
  std::vector<SColorF> pixels;
};

} // namespace mediagen
