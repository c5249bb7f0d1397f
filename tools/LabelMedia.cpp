#include "tools/LabelMedia.h"

#include "tools/LabelAtlas.h"
#include "tools/Surfaces.h"
#include "tools/Typeface.h"

#include <cstdio>

namespace mediagen {

namespace {

const char *const kLabelFont = "/usr/share/fonts/truetype/liberation/LiberationSerif-Bold.ttf";
constexpr int kGlyphPixels = 84;

const SWoodStyle kLightFrame{{0.84f, 0.70f, 0.50f, 1}, {0.70f, 0.53f, 0.34f, 1}, 7.0f, 0.8f, 0.45f};
const SWoodStyle kDarkFrame{{0.36f, 0.22f, 0.13f, 1}, {0.22f, 0.12f, 0.07f, 1}, 8.0f, 1.0f, 0.5f};

// How one of the four label textures is painted.
struct SLabelLook {
  const CRasterImage *ground; // the frame's surface
  SColorF ink;                // the characters
  SColorF inlay;              // the thin lines along the strip
  bool lit;                   // highlighted: warm glow over the ground and around the characters
};

void AddTile(CMeshBuilder &mesh, float cx, float cy, const SAtlasRect &cell) {
  const float h = kLabelPitch * 0.5f;
  const vector3df up(0, 0, -1);
  const uint32_t i = mesh.AddVertex({cx - h, cy + h, 0}, up, {cell.u0, cell.v0});
  mesh.AddVertex({cx + h, cy + h, 0}, up, {cell.u1, cell.v0});
  mesh.AddVertex({cx + h, cy - h, 0}, up, {cell.u1, cell.v1});
  mesh.AddVertex({cx - h, cy - h, 0}, up, {cell.u0, cell.v1});
  mesh.AddQuad(i, i + 1, i + 2, i + 3);
}

// The band's sides and underside, from x0..x1 and y0..y1, textured with the edge row.
void AddBandSides(CMeshBuilder &mesh, float x0, float x1, float y0, float y1) {
  const SAtlasRect e = AtlasCell(0, kEdgeRow);
  const float d = kLabelDepth;
  auto quad = [&](vector3df a, vector3df b, vector3df c, vector3df dd, vector3df n) {
    const uint32_t i = mesh.AddVertex(a, n, {e.u0, e.v0});
    mesh.AddVertex(b, n, {e.u1, e.v0});
    mesh.AddVertex(c, n, {e.u1, e.v1});
    mesh.AddVertex(dd, n, {e.u0, e.v1});
    mesh.AddQuad(i, i + 1, i + 2, i + 3);
  };
  quad({x0, y0, 0}, {x1, y0, 0}, {x1, y0, d}, {x0, y0, d}, {0, -1, 0});
  quad({x0, y1, 0}, {x1, y1, 0}, {x1, y1, d}, {x0, y1, d}, {0, 1, 0});
  quad({x0, y0, 0}, {x0, y1, 0}, {x0, y1, d}, {x0, y0, d}, {-1, 0, 0});
  quad({x1, y0, 0}, {x1, y1, 0}, {x1, y1, d}, {x1, y0, d}, {1, 0, 0});
  quad({x0, y0, d}, {x1, y0, d}, {x1, y1, d}, {x0, y1, d}, {0, 0, 1});
}

CRasterImage MakeLabelAtlas(const SLabelLook &look, const CTypeface &typeface) {
  CRasterImage atlas = *look.ground;
  if (look.lit)
    atlas = MakeHighlight(atlas, SColorF{1.0f, 0.76f, 0.36f, 1}, 0.7f, SColorF{}, 0);

  // Inlay lines run along the strip: across the top and bottom of letter
  // cells (file strips run along X) and down both sides of digit cells.
  for (int row = 0; row < kAtlasRows; ++row)
    for (int col = 0; col < kAtlasColumns; ++col) {
      if (row == kEdgeRow)
        continue;
      const int x0 = col * kAtlasCell, y0 = row * kAtlasCell;
      const bool alongY = row == kDigitRow;
      for (int k = 0; k < kAtlasCell; ++k)
        for (int w = 9; w < 12; ++w) {
          const float strength = (w == 10) ? 0.9f : 0.4f;
          if (alongY) {
            atlas.Blend(x0 + w, y0 + k, look.inlay, strength);
            atlas.Blend(x0 + kAtlasCell - 1 - w, y0 + k, look.inlay, strength);
          } else {
            atlas.Blend(x0 + k, y0 + w, look.inlay, strength);
            atlas.Blend(x0 + k, y0 + kAtlasCell - 1 - w, look.inlay, strength);
          }
        }
    }

  for (int row = kLetterRow; row <= kDigitRow; ++row)
    for (int col = 0; col < kAtlasColumns; ++col) {
      const std::string text(1, static_cast<char>((row == kLetterRow ? 'a' : '1') + col));
      const CCoverageMask glyph = typeface.Centred(text, kAtlasCell, kAtlasCell);
      const int x0 = col * kAtlasCell, y0 = row * kAtlasCell;
      if (look.lit) {
        // A deep orange glow behind the bright characters keeps them readable on the lit wood.
        CCoverageMask halo = glyph;
        halo.Blur(5);
        for (int pass = 0; pass < 3; ++pass)
          atlas.Paint(halo, x0, y0, SColorF{0.85f, 0.30f, 0.0f, 1});
      } else {
        // A soft shadow down and to the right makes the characters look inlaid.
        CCoverageMask shadow = glyph;
        shadow.Blur(2);
        atlas.Paint(shadow, x0 + 3, y0 + 3, SColorF{0.0f, 0.0f, 0.0f, 0.45f});
      }
      atlas.Paint(glyph, x0, y0, look.ink);
    }
  return atlas;
}

} // namespace

CMeshBuilder MakeLabelStrip(ELabelStrip strip) {
  CMeshBuilder mesh;
  const float h = kLabelPitch * 0.5f;
  if (strip == ELabelStrip::Ranks1to8) {
    for (int j = 0; j < 8; ++j)
      AddTile(mesh, 0.0f, j * kLabelPitch, AtlasCell(j, kDigitRow));
    AddBandSides(mesh, -h, h, -h, 7 * kLabelPitch + h);
    return mesh;
  }
  // Tiles -1 and 8 are the frame's corners.
  for (int i = -1; i <= 8; ++i) {
    const bool corner = i < 0 || i > 7;
    const int file = strip == ELabelStrip::FilesAtoH ? i : 7 - i;
    AddTile(mesh, i * kLabelPitch, 0.0f, corner ? AtlasCell(i < 0 ? 0 : 1, kPlainRow) : AtlasCell(file, kLetterRow));
  }
  AddBandSides(mesh, -kLabelPitch - h, 8 * kLabelPitch + h, -h, h);
  return mesh;
}

bool WriteLabelMedia(const CMediaFolder &folder) {
  // The game puts a strip's texture on all four texture layers, and two strips
  // share each texture. Irrlicht 1.8's OpenGL driver binds every layer of a
  // material but switches the extra layers off only when the material changes,
  // so the second of two strips with equal materials would be drawn with its
  // texture multiplied in four times (nearly black). File strips and rank
  // strips therefore get slightly different emissive colours.
  const float fileStripGlow = 0.35f, rankStripGlow = 0.38f;
  SMeshMaterial material;
  bool ok = true;
  for (const bool dark : {false, true}) {
    material.texture = dark ? "nc_dark.jpg" : "nc_light.jpg";
    material.emissive[0] = material.emissive[1] = material.emissive[2] = fileStripGlow;
    ok &= folder.WriteMesh(dark ? "chars2.x" : "chars.x",
                           MakeLabelStrip(dark ? ELabelStrip::FilesHtoA : ELabelStrip::FilesAtoH), material);
    material.emissive[0] = material.emissive[1] = material.emissive[2] = rankStripGlow;
    ok &= folder.WriteMesh(dark ? "numbers2.x" : "numbers.x", MakeLabelStrip(ELabelStrip::Ranks1to8), material);
  }

  return ok &&
         WriteLabelTextures(folder, SLabelStyle{MakeWood(kAtlasWidth, kAtlasHeight, kLightFrame, 3001u),
                                                MakeWood(kAtlasWidth, kAtlasHeight, kDarkFrame, 3002u),
                                                SColorF{0.20f, 0.11f, 0.05f, 1},
                                                SColorF{0.95f, 0.88f, 0.72f, 1},
                                                {SColorF{0.35f, 0.20f, 0.10f, 1}, SColorF{0.55f, 0.30f, 0.08f, 1}},
                                                {SColorF{0.80f, 0.68f, 0.48f, 1}, SColorF{1.0f, 0.85f, 0.50f, 1}}});
}

bool WriteLabelTextures(const CMediaFolder &folder, const SLabelStyle &style) {
  CTypeface typeface;
  if (!typeface.Load(kLabelFont, kGlyphPixels))
    return false;
  const SColorF litInk{1.0f, 0.98f, 0.85f, 1};
  const SLabelLook looks[4] = {
      {&style.lightGround, style.lightInk, style.lightInlay[0], false},
      {&style.lightGround, litInk, style.lightInlay[1], true},
      {&style.darkGround, style.darkInk, style.darkInlay[0], false},
      {&style.darkGround, litInk, style.darkInlay[1], true},
  };
  const char *names[4] = {"nc_light.jpg", "nc_hi_light.jpg", "nc_dark.jpg", "nc_hi_dark.jpg"};
  bool ok = true;
  for (int i = 0; i < 4; ++i)
    ok &= folder.WriteJpeg(names[i], MakeLabelAtlas(looks[i], typeface));
  return ok;
}

} // namespace mediagen
