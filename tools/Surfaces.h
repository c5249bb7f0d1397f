// Procedural surface pictures shared by the board, the label strips and the
// pieces: wood grain, veined marble, plain plastic, highlight glows and simple
// shading helpers.
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

// The look of one kind of marble.
struct SMarbleStyle {
  SColorF base;     // the stone between the veins
  SColorF cloud;    // soft patches drifting through the stone
  SColorF vein;     // the main veins
  float veins;      // vein bands across the picture's longer side
  float angle;      // their direction in degrees from the x axis
  float turbulence; // how far the veins wander
  float sharpness;  // higher: thinner veins
};

// A marble picture of the given size: clouded stone crossed by wandering
// veins, with finer hair veins between them. A picture longer one way keeps
// the stone's proportions (the pattern is laid out in its longer side's units).
CRasterImage MakeMarble(int width, int height, const SMarbleStyle &style, uint32_t seed);

// A plain surface of one colour (plastic, vinyl) with a faint fine speckle of
// the given strength (0..1), so that it does not look like flat paint.
CRasterImage MakePlain(int width, int height, const SColorF &color, float speckle, uint32_t seed);

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
