#include "tools/BoardMedia.h"

#include "tools/Surfaces.h"

namespace mediagen {

namespace {

// Maple for the light squares, walnut for the dark ones.
const SWoodStyle kMaple{{0.87f, 0.74f, 0.54f, 1}, {0.73f, 0.56f, 0.36f, 1}, 5.0f, 0.9f, 0.45f};
const SWoodStyle kWalnut{{0.45f, 0.28f, 0.16f, 1}, {0.27f, 0.15f, 0.08f, 1}, 6.0f, 1.1f, 0.5f};

// A cool, clearly non-wooden glow for lit squares, with a bright inner rim.
const SColorF kLightGlow{0.55f, 0.92f, 1.0f, 1};
const SColorF kDarkGlow{0.10f, 0.55f, 0.78f, 1};
const SColorF kRim{0.85f, 1.0f, 1.0f, 1};
// A warm amber wash for the last move's two squares, apart from the cool
// selection glow, and without its rim.
const SColorF kLightLastMove{1.0f, 0.86f, 0.30f, 1};
const SColorF kDarkLastMove{0.80f, 0.58f, 0.08f, 1};

} // namespace

CMeshBuilder MakeFieldMesh(bool grainAcross) {
  CMeshBuilder mesh;
  const float t = kFieldTopHalf, o = kFieldOuterHalf, drop = -kFieldBevelDrop, bottom = -kFieldThickness;
  // Texture coordinates follow the top face; the bevel and sides repeat its edge.
  auto uv = [&](float x, float z) {
    const float a = (x + t) / (2 * t), b = (t - z) / (2 * t);
    const float u = grainAcross ? b : a, v = grainAcross ? 1.0f - a : b;
    return vector2df(u < 0 ? 0 : u > 1 ? 1 : u, v < 0 ? 0 : v > 1 ? 1 : v);
  };
  auto quad = [&](vector3df a, vector3df b, vector3df c, vector3df d, vector3df normal) {
    const uint32_t i = mesh.AddVertex(a, normal, uv(a.X, a.Z));
    mesh.AddVertex(b, normal, uv(b.X, b.Z));
    mesh.AddVertex(c, normal, uv(c.X, c.Z));
    mesh.AddVertex(d, normal, uv(d.X, d.Z));
    mesh.AddQuad(i, i + 1, i + 2, i + 3);
  };

  quad({-t, 0, -t}, {-t, 0, t}, {t, 0, t}, {t, 0, -t}, {0, 1, 0});
  // Bevels and sides on the four edges: outward direction (dx, dz) and the edge's corners.
  const float dirs[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
  for (const auto &d : dirs) {
    const vector3df out(d[0], 0, d[1]);
    const vector3df along(d[1], 0, d[0]); // perpendicular to out within the plane
    const vector3df bevelNormal = (out * kFieldBevelDrop + vector3df(0, o - t, 0)).normalize();
    quad(out * t + along * t, out * t - along * t, out * o - along * o + vector3df(0, drop, 0),
         out * o + along * o + vector3df(0, drop, 0), bevelNormal);
    quad(out * o + along * o + vector3df(0, drop, 0), out * o - along * o + vector3df(0, drop, 0),
         out * o - along * o + vector3df(0, bottom, 0), out * o + along * o + vector3df(0, bottom, 0), out);
  }
  quad({-o, bottom, -o}, {o, bottom, -o}, {o, bottom, o}, {-o, bottom, o}, {0, -1, 0});
  return mesh;
}

bool WriteBoardMedia(const CMediaFolder &folder) {
  SMeshMaterial material;
  material.emissive[0] = material.emissive[1] = material.emissive[2] = 0.35f;

  bool ok = true;
  material.texture = "field_lg.jpg";
  ok &= folder.WriteMesh("chess_field_white.x", MakeFieldMesh(false), material);
  material.texture = "field_dg.jpg";
  ok &= folder.WriteMesh("chess_field_black.x", MakeFieldMesh(true), material);

  CRasterImage light = MakeWood(kFieldTextureSize, kFieldTextureSize, kMaple, 1001u);
  CRasterImage dark = MakeWood(kFieldTextureSize, kFieldTextureSize, kWalnut, 2002u);
  DarkenBorder(light, 0.10f, 10.0f);
  DarkenBorder(dark, 0.10f, 10.0f);
  ok &= WriteFieldTextures(folder, light, dark);
  return ok;
}

bool WriteFieldTextures(const CMediaFolder &folder, const CRasterImage &light, const CRasterImage &dark) {
  bool ok = folder.WriteJpeg("field_lg.jpg", light);
  ok &= folder.WriteJpeg("field_dg.jpg", dark);
  ok &= folder.WriteJpeg("field_lg_hi.jpg", MakeHighlight(light, kLightGlow, 0.75f, kRim, 22));
  ok &= folder.WriteJpeg("field_dg_hi.jpg", MakeHighlight(dark, kDarkGlow, 0.75f, kRim, 22));
  ok &= folder.WriteJpeg("field_lg_last.jpg", MakeHighlight(light, kLightLastMove, 0.55f, SColorF{}, 0));
  ok &= folder.WriteJpeg("field_dg_last.jpg", MakeHighlight(dark, kDarkLastMove, 0.6f, SColorF{}, 0));
  return ok;
}

} // namespace mediagen
