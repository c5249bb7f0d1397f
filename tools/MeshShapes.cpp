#include "tools/MeshShapes.h"

#include <algorithm>
#include <cmath>

namespace mediagen {

namespace {

constexpr float kPi = 3.14159265358979f;
// Cosine of the largest corner angle that is still smoothed (about 40 degrees).
constexpr float kSmoothCornerCos = 0.766f;

vector2df Normalized(vector2df v) {
  const float len = std::sqrt(v.X * v.X + v.Y * v.Y);
  return len > 0.0f ? vector2df(v.X / len, v.Y / len) : v;
}

// Outward normal of each edge i (from point i to i+1) of a counter-clockwise outline.
std::vector<vector2df> OutwardEdgeNormals(const std::vector<vector2df> &outline) {
  const size_t n = outline.size();
  std::vector<vector2df> normals(n);
  for (size_t i = 0; i < n; ++i) {
    const vector2df d = outline[(i + 1) % n] - outline[i];
    normals[i] = Normalized(vector2df(d.Y, -d.X));
  }
  return normals;
}

} // namespace

void AddLathe(CMeshBuilder &mesh, const std::vector<SProfilePoint> &profile, int segments) {
  const size_t n = profile.size();
  if (n < 2 || segments < 3)
    return;
  // Outward normal of each profile segment in the (radius, height) plane.
  std::vector<vector2df> segNormal(n - 1);
  std::vector<float> length(n, 0.0f);
  for (size_t i = 0; i + 1 < n; ++i) {
    const float dr = profile[i + 1].radius - profile[i].radius;
    const float dy = profile[i + 1].height - profile[i].height;
    segNormal[i] = Normalized(vector2df(dy, -dr));
    length[i + 1] = length[i] + std::sqrt(dr * dr + dy * dy);
  }
  const float total = length[n - 1] > 0.0f ? length[n - 1] : 1.0f;

  // The normal at a profile point as seen from segment s (s is i-1 or i).
  auto pointNormal = [&](size_t i, size_t s) {
    const bool inner = i > 0 && i + 1 < n;
    if (!inner || profile[i].crease || profile[i].radius <= 0.0f)
      return segNormal[s];
    return Normalized(segNormal[i - 1] + segNormal[i]);
  };

  for (size_t s = 0; s + 1 < n; ++s) {
    const uint32_t base = mesh.VertexCount();
    for (size_t end = 0; end < 2; ++end) {
      const size_t i = s + end;
      const vector2df nrm = pointNormal(i, s);
      for (int k = 0; k <= segments; ++k) {
        const float a = 2.0f * kPi * static_cast<float>(k) / static_cast<float>(segments);
        const float c = std::cos(a), sn = std::sin(a);
        mesh.AddVertex(vector3df(profile[i].radius * c, profile[i].height, profile[i].radius * sn),
                       vector3df(nrm.X * c, nrm.Y, nrm.X * sn),
                       vector2df(static_cast<float>(k) / static_cast<float>(segments), 1.0f - length[i] / total));
      }
    }
    const uint32_t ring = static_cast<uint32_t>(segments + 1);
    for (uint32_t k = 0; k < static_cast<uint32_t>(segments); ++k)
      mesh.AddQuad(base + k, base + k + 1, base + ring + k + 1, base + ring + k);
  }
}

void AddSphere(CMeshBuilder &mesh, const vector3df &centre, float radius, int segments, int rings) {
  std::vector<SProfilePoint> profile;
  for (int i = 0; i <= rings; ++i) {
    const float a = kPi * static_cast<float>(i) / static_cast<float>(rings);
    profile.push_back({radius * std::sin(a), -radius * std::cos(a)});
  }
  profile.front().radius = 0.0f;
  profile.back().radius = 0.0f;
  const uint32_t first = mesh.VertexCount();
  AddLathe(mesh, profile, segments);
  irr::core::matrix4 move;
  move.setTranslation(centre);
  mesh.Transform(move, first);
}

float SignedArea2(const std::vector<vector2df> &polygon) {
  float area = 0.0f;
  for (size_t i = 0; i < polygon.size(); ++i) {
    const vector2df &a = polygon[i], &b = polygon[(i + 1) % polygon.size()];
    area += a.X * b.Y - b.X * a.Y;
  }
  return area;
}

std::vector<vector2df> CounterClockwise(std::vector<vector2df> outline) {
  if (SignedArea2(outline) < 0.0f)
    std::reverse(outline.begin(), outline.end());
  return outline;
}

std::vector<std::array<int, 3>> TriangulatePolygon(const std::vector<vector2df> &polygon) {
  std::vector<std::array<int, 3>> result;
  std::vector<int> left(polygon.size());
  for (size_t i = 0; i < polygon.size(); ++i)
    left[i] = static_cast<int>(i);
  auto cross = [](const vector2df &o, const vector2df &a, const vector2df &b) {
    return (a.X - o.X) * (b.Y - o.Y) - (a.Y - o.Y) * (b.X - o.X);
  };
  size_t guard = 0;
  while (left.size() > 3 && guard < polygon.size() * polygon.size()) {
    ++guard;
    bool clipped = false;
    for (size_t i = 0; i < left.size(); ++i) {
      const int ia = left[(i + left.size() - 1) % left.size()], ib = left[i], ic = left[(i + 1) % left.size()];
      const vector2df &a = polygon[ia], &b = polygon[ib], &c = polygon[ic];
      if (cross(a, b, c) <= 1e-9f)
        continue; // reflex corner: not an ear
      bool inside = false;
      for (int j : left) {
        if (j == ia || j == ib || j == ic)
          continue;
        const vector2df &p = polygon[j];
        if (cross(a, b, p) >= 0 && cross(b, c, p) >= 0 && cross(c, a, p) >= 0) {
          inside = true;
          break;
        }
      }
      if (inside)
        continue;
      result.push_back({ia, ib, ic});
      left.erase(left.begin() + static_cast<long>(i));
      clipped = true;
      break;
    }
    if (!clipped)
      break; // not a simple polygon; keep what was found
  }
  if (left.size() == 3)
    result.push_back({left[0], left[1], left[2]});
  return result;
}

std::vector<vector2df> InsetOutline(const std::vector<vector2df> &outline, float distance) {
  const size_t n = outline.size();
  const std::vector<vector2df> edgeNormal = OutwardEdgeNormals(outline);
  std::vector<vector2df> inset(n);
  for (size_t i = 0; i < n; ++i) {
    const vector2df &nPrev = edgeNormal[(i + n - 1) % n], &nNext = edgeNormal[i];
    const vector2df mid = Normalized(nPrev + nNext);
    const float cosHalf = std::max(0.35f, mid.X * nNext.X + mid.Y * nNext.Y);
    inset[i] = outline[i] - mid * (distance / cosHalf);
  }
  return inset;
}

void AddBevelledExtrusion(CMeshBuilder &mesh, const std::vector<vector2df> &outlineIn, float halfDepth, float bevel) {
  if (outlineIn.size() < 3)
    return;
  const std::vector<vector2df> outline = CounterClockwise(outlineIn);
  const size_t n = outline.size();

  const std::vector<vector2df> edgeNormal = OutwardEdgeNormals(outline);
  const std::vector<vector2df> inset = InsetOutline(outline, bevel);
  std::vector<bool> smooth(n);
  for (size_t i = 0; i < n; ++i) {
    const vector2df &nPrev = edgeNormal[(i + n - 1) % n], &nNext = edgeNormal[i];
    smooth[i] = (nPrev.X * nNext.X + nPrev.Y * nNext.Y) > kSmoothCornerCos;
  }

  const auto caps = TriangulatePolygon(inset);
  const float capZ[2] = {-halfDepth, halfDepth};
  const float wallZ[2] = {-halfDepth + bevel, halfDepth - bevel};
  const float uvScale = 1.0f / 14.0f;

  // Both flat faces.
  for (int side = 0; side < 2; ++side) {
    const vector3df normal(0, 0, side == 0 ? -1.0f : 1.0f);
    const uint32_t base = mesh.VertexCount();
    for (size_t i = 0; i < n; ++i)
      mesh.AddVertex(vector3df(inset[i].X, inset[i].Y, capZ[side]), normal,
                     vector2df(0.5f + inset[i].X * uvScale, 1.0f - inset[i].Y * uvScale));
    for (const auto &t : caps)
      mesh.AddTriangle(base + t[0], base + t[1], base + t[2]);
  }

  // Walls and bevels, edge by edge; the normal at an end is shared with the
  // neighbouring edge where the corner is smooth.
  float perimeter = 0.0f;
  for (size_t i = 0; i < n; ++i) {
    const size_t j = (i + 1) % n;
    const vector2df nI = smooth[i] ? Normalized(edgeNormal[(i + n - 1) % n] + edgeNormal[i]) : edgeNormal[i];
    const vector2df nJ = smooth[j] ? Normalized(edgeNormal[i] + edgeNormal[j]) : edgeNormal[i];
    const float edgeLength = (outline[j] - outline[i]).getLength();
    const float u0 = perimeter * uvScale, u1 = (perimeter + edgeLength) * uvScale;
    perimeter += edgeLength;

    // Wall between the two bevels.
    const uint32_t w = mesh.VertexCount();
    mesh.AddVertex(vector3df(outline[i].X, outline[i].Y, wallZ[0]), vector3df(nI.X, nI.Y, 0), vector2df(u0, 0.4f));
    mesh.AddVertex(vector3df(outline[j].X, outline[j].Y, wallZ[0]), vector3df(nJ.X, nJ.Y, 0), vector2df(u1, 0.4f));
    mesh.AddVertex(vector3df(outline[j].X, outline[j].Y, wallZ[1]), vector3df(nJ.X, nJ.Y, 0), vector2df(u1, 0.6f));
    mesh.AddVertex(vector3df(outline[i].X, outline[i].Y, wallZ[1]), vector3df(nI.X, nI.Y, 0), vector2df(u0, 0.6f));
    mesh.AddQuad(w, w + 1, w + 2, w + 3);

    // Bevel strips from the wall to each flat face.
    for (int side = 0; side < 2; ++side) {
      const float zCap = capZ[side], zWall = wallZ[side], nz = side == 0 ? -1.0f : 1.0f;
      const vector3df bI = vector3df(nI.X, nI.Y, nz).normalize(), bJ = vector3df(nJ.X, nJ.Y, nz).normalize();
      const uint32_t b = mesh.VertexCount();
      mesh.AddVertex(vector3df(outline[i].X, outline[i].Y, zWall), bI, vector2df(u0, 0.5f + 0.1f * nz));
      mesh.AddVertex(vector3df(outline[j].X, outline[j].Y, zWall), bJ, vector2df(u1, 0.5f + 0.1f * nz));
      mesh.AddVertex(vector3df(inset[j].X, inset[j].Y, zCap), bJ, vector2df(u1, 0.5f + 0.2f * nz));
      mesh.AddVertex(vector3df(inset[i].X, inset[i].Y, zCap), bI, vector2df(u0, 0.5f + 0.2f * nz));
      mesh.AddQuad(b, b + 1, b + 2, b + 3);
    }
  }
}

void AddExtrusion(CMeshBuilder &mesh, const std::vector<vector2df> &outlineIn, float halfDepth) {
  if (outlineIn.size() < 3)
    return;
  const std::vector<vector2df> outline = CounterClockwise(outlineIn);
  const size_t n = outline.size();
  const std::vector<vector2df> edgeNormal = OutwardEdgeNormals(outline);
  const auto caps = TriangulatePolygon(outline);
  const float z[2] = {-halfDepth, halfDepth};
  // Both flat faces, then one flat wall per edge; faces meet at shared positions.
  for (int side = 0; side < 2; ++side) {
    const vector3df normal(0, 0, side == 0 ? -1.0f : 1.0f);
    const uint32_t base = mesh.VertexCount();
    for (size_t i = 0; i < n; ++i)
      mesh.AddVertex(vector3df(outline[i].X, outline[i].Y, z[side]), normal, vector2df(0, 0));
    for (const auto &t : caps)
      mesh.AddTriangle(base + t[0], base + t[1], base + t[2]);
  }
  for (size_t i = 0; i < n; ++i) {
    const size_t j = (i + 1) % n;
    const vector3df normal(edgeNormal[i].X, edgeNormal[i].Y, 0);
    const uint32_t w = mesh.VertexCount();
    mesh.AddVertex(vector3df(outline[i].X, outline[i].Y, z[0]), normal, vector2df(0, 0));
    mesh.AddVertex(vector3df(outline[j].X, outline[j].Y, z[0]), normal, vector2df(1, 0));
    mesh.AddVertex(vector3df(outline[j].X, outline[j].Y, z[1]), normal, vector2df(1, 1));
    mesh.AddVertex(vector3df(outline[i].X, outline[i].Y, z[1]), normal, vector2df(0, 1));
    mesh.AddQuad(w, w + 1, w + 2, w + 3);
  }
}

void AddBox(CMeshBuilder &mesh, const vector3df &lo, const vector3df &hi, const irr::core::matrix4 &transform) {
  const uint32_t first = mesh.VertexCount();
  // Each face: its normal and two in-plane axes (unit vectors along the box edges).
  struct SFace {
    vector3df normal, u, v;
  };
  const SFace faces[6] = {
      {{1, 0, 0}, {0, 0, 1}, {0, 1, 0}},  {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}}, {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}},
      {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}}, {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}},  {{0, 0, -1}, {1, 0, 0}, {0, 1, 0}},
  };
  const vector3df centre = (lo + hi) * 0.5f, half = (hi - lo) * 0.5f;
  for (const SFace &f : faces) {
    // Component-wise products pick the half extent along each axis.
    const vector3df c = centre + f.normal * half, du = f.u * half, dv = f.v * half;
    const uint32_t b = mesh.VertexCount();
    mesh.AddVertex(c - du - dv, f.normal, vector2df(0, 1));
    mesh.AddVertex(c + du - dv, f.normal, vector2df(1, 1));
    mesh.AddVertex(c + du + dv, f.normal, vector2df(1, 0));
    mesh.AddVertex(c - du + dv, f.normal, vector2df(0, 0));
    mesh.AddQuad(b, b + 1, b + 2, b + 3);
  }
  mesh.Transform(transform, first);
}

void AddRingSector(CMeshBuilder &mesh, float inner, float outer, float y0, float y1, float a0, float a1, int steps) {
  auto at = [](float r, float a, float y) { return vector3df(r * std::cos(a), y, r * std::sin(a)); };
  auto radial = [](float a) { return vector3df(std::cos(a), 0, std::sin(a)); };
  for (int k = 0; k < steps; ++k) {
    const float b0 = a0 + (a1 - a0) * static_cast<float>(k) / static_cast<float>(steps);
    const float b1 = a0 + (a1 - a0) * static_cast<float>(k + 1) / static_cast<float>(steps);
    const float u0 = static_cast<float>(k) / static_cast<float>(steps),
                u1 = static_cast<float>(k + 1) / static_cast<float>(steps);
    // Outer and inner curved faces.
    for (int side = 0; side < 2; ++side) {
      const float r = side == 0 ? outer : inner;
      const float sign = side == 0 ? 1.0f : -1.0f;
      const uint32_t b = mesh.VertexCount();
      mesh.AddVertex(at(r, b0, y0), radial(b0) * sign, vector2df(u0, 1));
      mesh.AddVertex(at(r, b1, y0), radial(b1) * sign, vector2df(u1, 1));
      mesh.AddVertex(at(r, b1, y1), radial(b1) * sign, vector2df(u1, 0));
      mesh.AddVertex(at(r, b0, y1), radial(b0) * sign, vector2df(u0, 0));
      mesh.AddQuad(b, b + 1, b + 2, b + 3);
    }
    // Top and bottom.
    for (int side = 0; side < 2; ++side) {
      const float y = side == 0 ? y1 : y0;
      const vector3df normal(0, side == 0 ? 1.0f : -1.0f, 0);
      const uint32_t b = mesh.VertexCount();
      mesh.AddVertex(at(inner, b0, y), normal, vector2df(u0, 0.2f));
      mesh.AddVertex(at(outer, b0, y), normal, vector2df(u0, 0.0f));
      mesh.AddVertex(at(outer, b1, y), normal, vector2df(u1, 0.0f));
      mesh.AddVertex(at(inner, b1, y), normal, vector2df(u1, 0.2f));
      mesh.AddQuad(b, b + 1, b + 2, b + 3);
    }
  }
  // The two flat ends.
  for (int side = 0; side < 2; ++side) {
    const float a = side == 0 ? a0 : a1;
    const vector3df tangent(-std::sin(a), 0, std::cos(a));
    const vector3df normal = side == 0 ? -tangent : tangent;
    const uint32_t b = mesh.VertexCount();
    mesh.AddVertex(at(inner, a, y0), normal, vector2df(0, 1));
    mesh.AddVertex(at(outer, a, y0), normal, vector2df(0.2f, 1));
    mesh.AddVertex(at(outer, a, y1), normal, vector2df(0.2f, 0));
    mesh.AddVertex(at(inner, a, y1), normal, vector2df(0, 0));
    mesh.AddQuad(b, b + 1, b + 2, b + 3);
  }
}

} // namespace mediagen
