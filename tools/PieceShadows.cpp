#include "tools/PieceShadows.h"

#include "tools/KnightOutline.h"
#include "tools/MeshShapes.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace mediagen {

namespace {

constexpr float kPi = 3.14159265f;
// Eight sides keep a round piece's outline (and its bounding box: corners
// at 0, 90, 180 and 270 degrees) at a fraction of the display's triangles.
constexpr int kShadowSegments = 8;
// Radii shrink a little so that the octagon stays inside the display piece's
// 14- and 18-sided turnings: cos(180/14 degrees) = 0.975 is their tightest gap.
constexpr float kRoundInset = 0.97f;
// Separate parts keep this distance inside the display piece's surfaces.
constexpr float kClearance = 0.03f;

struct SCoarsePoint {
  float radius, height;
};

// A coarse turned body. The points are picked so that the whole outline,
// segments included, stays inside the display profile (the media tests check
// corners, edge middles and face centres).
void AddCoarseLathe(CMeshBuilder &mesh, std::initializer_list<SCoarsePoint> points) {
  std::vector<SProfilePoint> profile;
  for (const SCoarsePoint &p : points)
    profile.push_back({p.radius * kRoundInset, p.height, true});
  AddLathe(mesh, profile, kShadowSegments);
}

CMeshBuilder MakePawnShadow() {
  CMeshBuilder mesh;
  AddCoarseLathe(mesh, {{0, 0},
                        {3.1f, 0},
                        {3.05f, 0.49f},
                        {1.3f, 2.5f},
                        {0.9f, 4.6f},
                        {0.93f, 5.6f},
                        {1.75f, 7.2f},
                        {1.25f, 8.4f},
                        {0, 8.95f}});
  return mesh;
}

CMeshBuilder MakeRookShadow() {
  CMeshBuilder mesh;
  // The body stops below the hollow top; the battlements reach down into it.
  AddCoarseLathe(mesh, {{0, 0},
                        {3.5f, 0},
                        {3.45f, 0.55f},
                        {2.55f, 1.6f},
                        {2.05f, 2.8f},
                        {1.9f, 7.0f},
                        {1.5f, 8.2f},
                        {2.7f, 8.8f},
                        {2.7f, 9.05f},
                        {0, 9.05f}});
  // Six flat-faced merlons, each a little narrower than the display's.
  constexpr int kMerlons = 6;
  constexpr float kAngleInset = 1.5f * kPi / 180.0f;
  for (int i = 0; i < kMerlons; ++i) {
    const float a0 = 2 * kPi * (static_cast<float>(i) + 0.18f) / kMerlons + kAngleInset;
    const float a1 = 2 * kPi * (static_cast<float>(i) + 0.82f) / kMerlons - kAngleInset;
    AddRingSector(mesh, 2.0f, 2.65f, 9.0f, 11.0f - kClearance, a0, a1, 1);
  }
  return mesh;
}

CMeshBuilder MakeKnightShadow() {
  CMeshBuilder mesh;
  AddCoarseLathe(mesh, {{0, 0}, {3.5f, 0}, {2.55f, 1.6f}, {2.3f, 2.45f}, {0, 2.45f}});
  // A flat slab inside the bevelled head: at half depth h the display head's
  // section is the outline inset by h minus the wall's half height, so an
  // inset a little larger than that keeps the slab's edges inside.
  constexpr float kHalfDepth = 0.95f;
  const float inset = kHalfDepth - (kKnightHalfDepth - kKnightBevel) + 2 * kClearance;
  AddExtrusion(mesh, InsetOutline(CounterClockwise(KnightOutline()), inset), kHalfDepth);
  return mesh;
}

CMeshBuilder MakeBishopShadow() {
  CMeshBuilder mesh;
  AddCoarseLathe(mesh, {{0, 0},
                        {3.4f, 0},
                        {3.35f, 0.53f},
                        {2.45f, 1.55f},
                        {1.65f, 2.6f},
                        {1.25f, 4.5f},
                        {1.02f, 6.5f},
                        {1.15f, 7.7f},
                        {2.0f, 9.6f},
                        {1.45f, 11.2f},
                        {0.33f, 12.2f},
                        {0.55f, 12.7f},
                        {0, 13.25f}});
  return mesh;
}

CMeshBuilder MakeQueenShadow() {
  CMeshBuilder mesh;
  AddCoarseLathe(mesh, {{0, 0},
                        {3.6f, 0},
                        {3.55f, 0.57f},
                        {2.62f, 1.64f},
                        {1.85f, 2.8f},
                        {1.42f, 5.5f},
                        {1.12f, 8.4f},
                        {1.15f, 9.6f},
                        {2.4f, 12.2f},
                        {1.15f, 12.58f},
                        {0.64f, 13.2f},
                        {0.26f, 13.97f},
                        {0.66f, 14.6f},
                        {0, 15.25f}});
  // The crown's eight balls as octahedra inside the display's six-sided balls.
  constexpr int kPoints = 8;
  for (int i = 0; i < kPoints; ++i) {
    const float a = 2 * kPi * static_cast<float>(i) / kPoints;
    AddSphere(mesh, vector3df(2.3f * std::cos(a), 12.45f, 2.3f * std::sin(a)), 0.35f, 4, 2);
  }
  return mesh;
}

CMeshBuilder MakeKingShadow() {
  CMeshBuilder mesh;
  AddCoarseLathe(mesh, {{0, 0},
                        {3.7f, 0},
                        {3.65f, 0.58f},
                        {2.7f, 1.7f},
                        {1.95f, 2.9f},
                        {1.52f, 5.8f},
                        {1.22f, 8.9f},
                        {1.3f, 10.1f},
                        {2.35f, 12.6f},
                        {1.3f, 13.05f},
                        {0.88f, 13.4f},
                        {0.88f, 13.85f},
                        {0, 13.85f}});
  const float c = kClearance;
  AddBox(mesh, vector3df(-0.4f + c, 13.8f, -0.4f + c), vector3df(0.4f - c, 17.0f - c, 0.4f - c));
  AddBox(mesh, vector3df(-1.3f + c, 15.3f + c, -0.4f + c), vector3df(1.3f - c, 16.1f - c, 0.4f - c));
  return mesh;
}

} // namespace

CMeshBuilder MakePieceShadowMesh(EPieceKind kind) {
  switch (kind) {
  case EPieceKind::Pawn:
    return MakePawnShadow();
  case EPieceKind::Rook:
    return MakeRookShadow();
  case EPieceKind::Knight:
    return MakeKnightShadow();
  case EPieceKind::Bishop:
    return MakeBishopShadow();
  case EPieceKind::Queen:
    return MakeQueenShadow();
  case EPieceKind::King:
    return MakeKingShadow();
  }
  return CMeshBuilder();
}

std::string ShadowMeshName(const std::string &meshName) {
  const size_t dot = meshName.rfind('.');
  return dot == std::string::npos ? meshName + "_shadow" : meshName.substr(0, dot) + "_shadow" + meshName.substr(dot);
}

} // namespace mediagen
