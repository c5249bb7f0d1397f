// The bitmap fonts of the interface, the small one and the banner's at each
// interface scale, in the picture layout Irrlicht's getFont reads from a .bmp file.
#pragma once

#include "tools/MediaFolder.h"
#include "tools/Typeface.h"

namespace mediagen {

// The first and last character of a bitmap font: Latin-1 from the space to
// y with diaeresis, so German and French text has all its letters.
constexpr int kFirstFontChar = 32;
constexpr int kLastFontChar = 255;

// Lays out one box per character from space to U+00FF in rows of the given
// width. Box i is character 32 + i: Irrlicht's bitmap font maps its boxes to
// characters in order, so the control codes 127..159 keep a (blank) box each. Pixel (0,0) is the first box's upper-left
// marker, (1,0) shows the lower-right marker colour and (2,0) the background; each box has an upper-left marker on its
// first pixel and a lower-right marker on the pixel diagonally after its last. Characters are white with their coverage
// in the alpha channel; everything else is exactly the background colour.
CRasterImage MakeBitmapFont(const CTypeface &typeface, int imageWidth);

// Writes "Chess_Arial_12.bmp", "_18" and "_24" (the interface at scale 1, 1.5
// and 2) and "Chess_Arial_48.bmp", "_72" and "_96" (the banner's), 32-bit
// with alpha kept.
bool WriteFontMedia(const CMediaFolder &folder);

} // namespace mediagen
