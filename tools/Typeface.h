// Glyphs rendered with FreeType at a fixed pixel size, as coverage masks.
#pragma once

#include "tools/RasterImage.h"

#include <string>
#include <vector>

namespace mediagen {

// One rendered character: its coverage bitmap and where it sits on the pen line.
struct SGlyph {
  int width = 0, rows = 0;
  int left = 0;    // from the pen position to the bitmap's left edge
  int top = 0;     // from the baseline up to the bitmap's top row
  int advance = 0; // pen movement to the next character, whole pixels
  std::vector<float> coverage;
};

class CTypeface {
public:
  CTypeface();
  ~CTypeface();
  CTypeface(const CTypeface &) = delete;
  CTypeface &operator=(const CTypeface &) = delete;

  // Opens the font file at the pixel size (hinted for crisp small text); false with a message on failure.
  bool Load(const std::string &path, int pixelSize);

  // Renders one character; false if the font cannot.
  bool Render(unsigned long character, SGlyph &glyph) const;

  int Ascender() const { return ascender; }   // pixels above the baseline
  int Descender() const { return descender; } // pixels below the baseline (positive)

  // Pen advance of the whole text in pixels.
  int MeasureWidth(const std::string &text) const;
  // Draws the text into the mask, pen starting at x on the baseline y.
  void Draw(CCoverageMask &mask, const std::string &text, int x, int baseline) const;
  // A mask of the given size with the text's ink centred in it.
  CCoverageMask Centred(const std::string &text, int width, int height) const;

private:
  void *library = nullptr; // FT_Library
  void *face = nullptr;    // FT_Face
  int ascender = 0, descender = 0;
};

} // namespace mediagen
