// Anti-aliased 2D shapes drawn into coverage masks (for buttons and the splash).
#pragma once

#include "tools/MeshBuilder.h"
#include "tools/RasterImage.h"

#include <vector>

namespace mediagen {

// Fills a closed polygon (pixel coordinates, even-odd rule) with 4 x 4 samples per pixel.
void FillPolygon(CCoverageMask &mask, const std::vector<vector2df> &polygon);

// Fills a disc of radius r about (cx, cy).
void FillDisc(CCoverageMask &mask, float cx, float cy, float r);

// Paints a filled polygon of one colour into the picture.
void PaintPolygon(CRasterImage &image, const std::vector<vector2df> &polygon, const SColorF &color);

// Paints a filled disc of one colour into the picture.
void PaintDisc(CRasterImage &image, float cx, float cy, float r, const SColorF &color);

} // namespace mediagen
