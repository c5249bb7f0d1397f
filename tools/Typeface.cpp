#include "tools/Typeface.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdio>

namespace mediagen {

CTypeface::CTypeface() = default;

CTypeface::~CTypeface() {
  if (face)
    FT_Done_Face(static_cast<FT_Face>(face));
  if (library)
    FT_Done_FreeType(static_cast<FT_Library>(library));
}

bool CTypeface::Load(const std::string &path, int pixelSize) {
  FT_Library lib = nullptr;
  if (FT_Init_FreeType(&lib) != 0) {
    std::fprintf(stderr, "kelvar_mediagen: FreeType does not start\n");
    return false;
  }
  library = lib;
  FT_Face f = nullptr;
  if (FT_New_Face(lib, path.c_str(), 0, &f) != 0) {
    std::fprintf(stderr, "kelvar_mediagen: cannot open font %s\n", path.c_str());
    return false;
  }
  face = f;
  if (FT_Set_Pixel_Sizes(f, 0, static_cast<FT_UInt>(pixelSize)) != 0) {
    std::fprintf(stderr, "kelvar_mediagen: font %s has no size %d\n", path.c_str(), pixelSize);
    return false;
  }
  // 26.6 fixed point metrics, rounded outwards to whole pixels.
  ascender = static_cast<int>((f->size->metrics.ascender + 63) >> 6);
  descender = static_cast<int>((-f->size->metrics.descender + 63) >> 6);
  return true;
}

bool CTypeface::Render(unsigned long character, SGlyph &glyph) const {
  FT_Face f = static_cast<FT_Face>(face);
  if (!f || FT_Load_Char(f, character, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0)
    return false;
  const FT_GlyphSlot slot = f->glyph;
  const FT_Bitmap &bitmap = slot->bitmap;
  glyph.width = static_cast<int>(bitmap.width);
  glyph.rows = static_cast<int>(bitmap.rows);
  glyph.left = slot->bitmap_left;
  glyph.top = slot->bitmap_top;
  glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
  glyph.coverage.assign(static_cast<size_t>(glyph.width) * glyph.rows, 0.0f);
  for (int y = 0; y < glyph.rows; ++y)
    for (int x = 0; x < glyph.width; ++x)
      glyph.coverage[static_cast<size_t>(y) * glyph.width + x] =
          static_cast<float>(bitmap.buffer[y * bitmap.pitch + x]) / 255.0f;
  return true;
}

int CTypeface::MeasureWidth(const std::string &text) const {
  int width = 0;
  SGlyph glyph;
  for (unsigned char c : text)
    if (Render(c, glyph))
      width += glyph.advance;
  return width;
}

void CTypeface::Draw(CCoverageMask &mask, const std::string &text, int x, int baseline) const {
  SGlyph glyph;
  for (unsigned char c : text) {
    if (!Render(c, glyph))
      continue;
    for (int gy = 0; gy < glyph.rows; ++gy)
      for (int gx = 0; gx < glyph.width; ++gx)
        mask.Max(x + glyph.left + gx, baseline - glyph.top + gy,
                 glyph.coverage[static_cast<size_t>(gy) * glyph.width + gx]);
    x += glyph.advance;
  }
}

CCoverageMask CTypeface::Centred(const std::string &text, int width, int height) const {
  // Draw on a roomy scratch mask, find the ink, then copy it to the middle.
  const int scratchW = MeasureWidth(text) + 2 * (ascender + descender) + 4, scratchH = 2 * (ascender + descender) + 4;
  CCoverageMask scratch(scratchW, scratchH);
  Draw(scratch, text, ascender + descender, ascender + (ascender + descender) / 2);
  int x0 = scratchW, y0 = scratchH, x1 = -1, y1 = -1;
  for (int y = 0; y < scratchH; ++y)
    for (int x = 0; x < scratchW; ++x)
      if (scratch.At(x, y) > 0.0f) {
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
        x1 = std::max(x1, x);
        y1 = std::max(y1, y);
      }
  CCoverageMask out(width, height);
  if (x1 < 0)
    return out;
  const int ox = (width - (x1 - x0 + 1)) / 2 - x0, oy = (height - (y1 - y0 + 1)) / 2 - y0;
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x)
      out.Set(x + ox, y + oy, scratch.At(x, y));
  return out;
}

} // namespace mediagen
