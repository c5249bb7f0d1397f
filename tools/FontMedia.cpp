#include "tools/FontMedia.h"

#include <algorithm>
#include <vector>

namespace mediagen {

namespace {

const char *const kInterfaceFont = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf";
// The interface's and the banner's fonts at each interface scale (1, 1.5
// and 2), by file, pixel size and picture width.
struct SFontFile {
  const char *file;
  int pixels;
  int imageWidth;
};
const SFontFile kFontFiles[] = {
    {"Chess_Arial_12.bmp", 13, 256},  {"Chess_Arial_18.bmp", 19, 384},  {"Chess_Arial_24.bmp", 26, 512},
    {"Chess_Arial_48.bmp", 48, 1024}, {"Chess_Arial_72.bmp", 72, 1536}, {"Chess_Arial_96.bmp", 96, 2048},
};

// Marker and background colours; no character pixel can equal them, since
// character pixels are white and the markers are opaque and coloured.
const SColorF kUpperLeftMarker{1, 1, 0, 1};
const SColorF kLowerRightMarker{1, 0, 0, 1};
const SColorF kBackground{0, 0, 0, 0};

struct SBox {
  int x = 0, y = 0, width = 0;
  int penOffset = 0; // from the box's left edge to the pen position
  SGlyph glyph;
};

} // namespace

CRasterImage MakeBitmapFont(const CTypeface &typeface, int imageWidth) {
  const int lineHeight = typeface.Ascender() + typeface.Descender();
  std::vector<SBox> boxes;
  int x = 0, y = 0;
  for (int c = kFirstFontChar; c <= kLastFontChar; ++c) {
    SBox box;
    if (c < 127 || c > 159) // the control codes keep an empty box
      typeface.Render(static_cast<unsigned long>(c), box.glyph);
    // The box spans the pen advance and any ink hanging out on either side.
    const int left = std::min(0, box.glyph.left);
    const int right = std::max(box.glyph.advance, box.glyph.left + box.glyph.width);
    box.width = std::max(right - left, c == kFirstFontChar ? 3 : 1); // pixels (1,0), (2,0) lie in the space box
    box.penOffset = -left;
    if (x + box.width + 1 > imageWidth) {
      x = 0;
      y += lineHeight + 1; // one row for the lower-right markers
    }
    box.x = x;
    box.y = y;
    x += box.width + 1; // one column for the lower-right marker
    boxes.push_back(box);
  }

  CRasterImage image(imageWidth, y + lineHeight + 1, kBackground);
  for (const SBox &box : boxes) {
    const SGlyph &g = box.glyph;
    const int originX = box.x + box.penOffset + g.left, originY = box.y + typeface.Ascender() - g.top;
    for (int gy = 0; gy < g.rows; ++gy)
      for (int gx = 0; gx < g.width; ++gx) {
        const int px = originX + gx, py = originY + gy;
        if (px < box.x || px >= box.x + box.width || py < box.y || py >= box.y + lineHeight)
          continue; // ink outside the line is cut off
        const float a = g.coverage[static_cast<size_t>(gy) * g.width + gx];
        if (a > 0.0f)
          image.Set(px, py, SColorF{1, 1, 1, a});
      }
    image.Set(box.x, box.y, kUpperLeftMarker);
    image.Set(box.x + box.width, box.y + lineHeight, kLowerRightMarker);
  }
  // Pixel (1,0) tells the reader the lower-right colour, (2,0) the background.
  image.Set(1, 0, kLowerRightMarker);
  image.Set(2, 0, kBackground);
  return image;
}

bool WriteFontMedia(const CMediaFolder &folder) {
  bool ok = true;
  for (const SFontFile &font : kFontFiles) {
    CTypeface typeface;
    if (!typeface.Load(kInterfaceFont, font.pixels))
      return false;
    ok &= folder.WriteBmp(font.file, MakeBitmapFont(typeface, font.imageWidth), true);
  }
  return ok;
}

} // namespace mediagen
