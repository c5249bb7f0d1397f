// Procedural surface pictures shared by the board, the label strips and the
// pieces: wood grain, highlight glows and simple shading helpers.
#pragma once

#include "tools/RasterImage.h"

#include <cstdint>

namespace mediagen {

// The look of one kind of wood.
struct SWoodStyle {
  SColorF base;       // colour between the grain lines
  SColorF grain;      // colour of the growth rings and streaks
  float rings;        // growth rings across the picture
  float warp;         // how much the rings wander
  float streakWeight; // share of fine streaks against rings (0..1)
};

// A wood picture of the given size; the grain runs along x. Tiles horizontally.
CRasterImage MakeWood(int width, int height, const SWoodStyle &style, uint32_t seed);

// Relative luminance of a colour (Rec. 709 weights).
float Luminance(const SColorF &c);

// Turns a picture into its lit-up form: its light and dark detail is kept but
// recoloured towards glow, and a bright rim of width rim (in pixels, 0 for
// none) runs along the picture's border.
CRasterImage MakeHighlight(const CRasterImage &source, const SColorF &glow, float strength, const SColorF &rimColor,
                           int rim);

// Darkens the picture towards its border by up to amount (a soft vignette).
void DarkenBorder(CRasterImage &image, float amount, float width);

} // namespace mediagen
