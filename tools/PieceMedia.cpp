#include "tools/PieceMedia.h"

#include "tools/KnightOutline.h"
#include "tools/MeshShapes.h"
#include "tools/PieceShadows.h"
#include "tools/Surfaces.h"

#include <cmath>

namespace mediagen {

namespace {

constexpr float kPi = 3.14159265f;
constexpr int kPawnSegments = 14; // pawns are the most numerous shadow casters
constexpr int kSegments = 18;
constexpr int kTokenTextureSize = 256;

using Profile = std::vector<SProfilePoint>;

// Appends an arc of a circle about (0, centreY) in the profile plane, from
// angle a0 to a1 degrees (0 = outwards, 90 = up), in the given steps.
void AppendArc(Profile &profile, float centreY, float radius, float a0, float a1, int steps) {
  for (int i = 0; i <= steps; ++i) {
    const float a = (a0 + (a1 - a0) * static_cast<float>(i) / static_cast<float>(steps)) * kPi / 180.0f;
    profile.push_back({std::max(0.0f, radius * std::cos(a)), centreY + radius * std::sin(a)});
  }
}

// The foot shared by all pieces: a flat bottom, a rounded plinth and a bead.
// Scaled by the piece's base radius; returns the height where the stem starts.
float AppendFoot(Profile &p, float r) {
  const float s = r / 3.5f;
  p.push_back({0, 0, true});
  p.push_back({r, 0, true});
  p.push_back({r, 0.55f * s, true});
  p.push_back({r - 0.3f * s, 0.95f * s});
  p.push_back({r - 0.7f * s, 1.3f * s});
  p.push_back({r - 0.9f * s, 1.6f * s, true});
  p.push_back({r - 0.75f * s, 1.85f * s});
  p.push_back({r - 1.0f * s, 2.15f * s, true});
  return 2.15f * s;
}

// A double collar ring round the stem at height y, radius r.
void AppendCollar(Profile &p, float y, float r) {
  p.push_back({r, y, true});
  p.push_back({r + 0.1f, y + 0.3f});
  p.push_back({r - 0.2f, y + 0.55f, true});
  p.push_back({r + 0.05f, y + 0.75f, true});
  p.push_back({r + 0.1f, y + 0.95f});
  p.push_back({r - 0.9f, y + 1.2f, true});
}

CMeshBuilder MakePawn() {
  Profile p;
  AppendFoot(p, 3.1f);
  p.push_back({1.45f, 2.5f});
  p.push_back({1.1f, 3.6f});
  p.push_back({0.95f, 4.6f, true});
  p.push_back({1.8f, 4.85f, true});
  p.push_back({1.85f, 5.15f});
  p.push_back({1.0f, 5.55f, true});
  // The head: a ball of radius 1.8 with its top at 9.
  AppendArc(p, 7.2f, 1.8f, -56.0f, 90.0f, 5);
  CMeshBuilder mesh;
  AddLathe(mesh, p, kPawnSegments);
  return mesh;
}

CMeshBuilder MakeRook() {
  Profile p;
  AppendFoot(p, 3.5f);
  p.push_back({2.15f, 2.7f});
  p.push_back({1.95f, 5.5f});
  p.push_back({2.05f, 7.0f, true});
  AppendCollar(p, 7.0f, 2.45f);
  p.push_back({2.45f, 8.6f, true});
  p.push_back({2.75f, 8.8f, true});
  p.push_back({2.75f, 9.5f, true});
  // The top: a ring to stand the battlements on, around a shallow hollow.
  p.push_back({1.85f, 9.5f, true});
  p.push_back({1.85f, 9.1f, true});
  p.push_back({0.0f, 9.1f, true});
  CMeshBuilder mesh;
  AddLathe(mesh, p, kSegments);
  constexpr int kMerlons = 6;
  for (int i = 0; i < kMerlons; ++i) {
    const float a0 = 2 * kPi * (static_cast<float>(i) + 0.18f) / kMerlons;
    const float a1 = 2 * kPi * (static_cast<float>(i) + 0.82f) / kMerlons;
    AddRingSector(mesh, 1.85f, 2.75f, 9.5f, 11.0f, a0, a1, 3);
  }
  return mesh;
}

CMeshBuilder MakeKnight() {
  Profile p;
  const float top = AppendFoot(p, 3.5f);
  p.push_back({2.35f, top + 0.35f, true});
  p.push_back({0.0f, top + 0.35f, true});
  CMeshBuilder mesh;
  AddLathe(mesh, p, kSegments);
  AddBevelledExtrusion(mesh, KnightOutline(), kKnightHalfDepth, kKnightBevel);
  // Eyes on both cheeks.
  for (float side : {-1.0f, 1.0f})
    AddSphere(mesh, vector3df(1.55f, 9.75f, side * 1.2f), 0.32f, 8, 4);
  return mesh;
}

CMeshBuilder MakeBishop() {
  Profile p;
  AppendFoot(p, 3.4f);
  p.push_back({1.7f, 2.6f});
  p.push_back({1.3f, 4.5f});
  p.push_back({1.05f, 6.5f, true});
  AppendCollar(p, 6.5f, 2.1f);
  // The mitre: an ogive from the collar to a small knob.
  p.push_back({1.5f, 8.0f});
  p.push_back({1.95f, 8.8f});
  p.push_back({2.05f, 9.6f});
  p.push_back({1.9f, 10.4f});
  p.push_back({1.5f, 11.2f});
  p.push_back({0.9f, 11.85f});
  p.push_back({0.35f, 12.2f, true});
  AppendArc(p, 12.7f, 0.6f, -55.0f, 90.0f, 4);
  CMeshBuilder mesh;
  AddLathe(mesh, p, kSegments);
  return mesh;
}

CMeshBuilder MakeQueen() {
  Profile p;
  AppendFoot(p, 3.6f);
  p.push_back({1.9f, 2.8f});
  p.push_back({1.45f, 5.5f});
  p.push_back({1.15f, 8.4f, true});
  AppendCollar(p, 8.4f, 2.2f);
  // The crown: a flaring cup with a low dome and a ball on top.
  p.push_back({1.45f, 10.2f});
  p.push_back({1.9f, 11.2f});
  p.push_back({2.45f, 12.2f, true});
  p.push_back({2.15f, 12.45f, true});
  p.push_back({1.2f, 12.6f});
  p.push_back({0.7f, 13.2f});
  p.push_back({0.3f, 13.9f, true});
  AppendArc(p, 14.6f, 0.7f, -65.0f, 90.0f, 4);
  CMeshBuilder mesh;
  AddLathe(mesh, p, kSegments);
  constexpr int kPoints = 8;
  for (int i = 0; i < kPoints; ++i) {
    const float a = 2 * kPi * static_cast<float>(i) / kPoints;
    AddSphere(mesh, vector3df(2.3f * std::cos(a), 12.45f, 2.3f * std::sin(a)), 0.42f, 6, 4);
  }
  return mesh;
}

CMeshBuilder MakeKing() {
  Profile p;
  AppendFoot(p, 3.7f);
  p.push_back({2.0f, 2.9f});
  p.push_back({1.55f, 5.8f});
  p.push_back({1.25f, 8.9f, true});
  AppendCollar(p, 8.9f, 2.3f);
  p.push_back({1.6f, 10.7f});
  p.push_back({2.05f, 11.7f});
  p.push_back({2.4f, 12.6f, true});
  p.push_back({2.1f, 12.85f, true});
  p.push_back({1.3f, 13.1f});
  p.push_back({0.9f, 13.45f, true});
  p.push_back({0.9f, 13.9f, true});
  p.push_back({0.0f, 13.9f, true});
  CMeshBuilder mesh;
  AddLathe(mesh, p, kSegments);
  // The cross, facing the two players.
  AddBox(mesh, vector3df(-0.4f, 13.8f, -0.4f), vector3df(0.4f, 17.0f, 0.4f));
  AddBox(mesh, vector3df(-1.3f, 15.3f, -0.4f), vector3df(1.3f, 16.1f, 0.4f));
  return mesh;
}

} // namespace

CMeshBuilder MakePieceMesh(EPieceKind kind) {
  switch (kind) {
  case EPieceKind::Pawn:
    return MakePawn();
  case EPieceKind::Rook:
    return MakeRook();
  case EPieceKind::Knight:
    return MakeKnight();
  case EPieceKind::Bishop:
    return MakeBishop();
  case EPieceKind::Queen:
    return MakeQueen();
  case EPieceKind::King:
    return MakeKing();
  }
  return CMeshBuilder();
}

CMeshBuilder MakeMarkerMesh() {
  CMeshBuilder mesh;
  for (float angle : {45.0f, -45.0f}) {
    irr::core::matrix4 turn;
    turn.setRotationDegrees(vector3df(0, 0, angle));
    turn.setTranslation(vector3df(0, kMarkerCentreY, 0));
    AddBox(mesh, vector3df(-3.4f, -0.65f, -0.65f), vector3df(3.4f, 0.65f, 0.65f), turn);
  }
  return mesh;
}

namespace {

// Boxwood for White, ebony for Black.
const SWoodStyle kBoxwood{{0.95f, 0.88f, 0.72f, 1}, {0.84f, 0.72f, 0.53f, 1}, 9.0f, 0.7f, 0.35f};
const SWoodStyle kEbony{{0.21f, 0.16f, 0.13f, 1}, {0.10f, 0.07f, 0.06f, 1}, 11.0f, 0.9f, 0.5f};

CRasterImage MakeMarkerTexture() {
  CRasterImage image(64, 64);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      const float t = static_cast<float>(y) / 63.0f;
      image.Set(x, y, Mix(SColorF{1.0f, 0.35f, 0.25f, 1}, SColorF{0.70f, 0.05f, 0.05f, 1}, t));
    }
  return image;
}

} // namespace

bool WritePieceMedia(const CMediaFolder &folder) {
  // Bright emissive light keeps the shaded sides readable under the dim scene
  // light; a small, tight specular spot gives the lacquered look. The scene's
  // point light is attenuated by radius / distance (about 40 near the board),
  // so the specular colour is kept very low or flat tops turn white.
  SMeshMaterial material;
  material.power = 60.0f;
  material.specular[0] = material.specular[1] = material.specular[2] = 0.03f;
  material.emissive[0] = material.emissive[1] = material.emissive[2] = 0.5f;
  material.texture = "whitetoken.bmp";

  const struct {
    const char *name;
    EPieceKind kind;
  } pieces[] = {{"pawn.x", EPieceKind::Pawn},     {"rook.x", EPieceKind::Rook},   {"knight.x", EPieceKind::Knight},
                {"bishop.x", EPieceKind::Bishop}, {"queen.x", EPieceKind::Queen}, {"king.x", EPieceKind::King}};
  bool ok = true;
  for (const auto &piece : pieces) {
    ok &= folder.WriteMesh(piece.name, MakePieceMesh(piece.kind), material);
    // The shadow stand-in is never drawn: it needs no texture.
    ok &= folder.WriteMesh(ShadowMeshName(piece.name), MakePieceShadowMesh(piece.kind), SMeshMaterial());
  }

  SMeshMaterial marker;
  marker.emissive[0] = 0.8f;
  marker.emissive[1] = marker.emissive[2] = 0.3f;
  marker.texture = "x.jpg";
  ok &= folder.WriteMesh("x.x", MakeMarkerMesh(), marker);
  ok &= folder.WriteJpeg("x.jpg", MakeMarkerTexture());

  const CRasterImage white = MakeWood(kTokenTextureSize, kTokenTextureSize, kBoxwood, 4001u);
  const CRasterImage black = MakeWood(kTokenTextureSize, kTokenTextureSize, kEbony, 4002u);
  ok &= WriteTokenTextures(folder, white, black);
  return ok;
}

bool WriteTokenTextures(const CMediaFolder &folder, const CRasterImage &white, const CRasterImage &black) {
  bool ok = folder.WriteBmp("whitetoken.bmp", white);
  ok &= folder.WriteBmp("blacktoken.bmp", black);
  // Selected pieces glow: White turns gold, Black an ember red.
  ok &= folder.WriteBmp("whitetoken_hi.bmp", MakeHighlight(white, SColorF{1.0f, 0.78f, 0.30f, 1}, 0.8f, SColorF{}, 0));
  ok &=
      folder.WriteBmp("blacktoken_hi.bmp", MakeHighlight(black, SColorF{0.95f, 0.38f, 0.12f, 1}, 0.85f, SColorF{}, 0));
  return ok;
}

} // namespace mediagen
