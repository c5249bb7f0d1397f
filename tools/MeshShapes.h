// Solid building blocks for the generated meshes: turned (lathe) bodies,
// bevelled extrusions of an outline, boxes and ring sectors. Every shape is
// closed, so the stencil shadow volumes built from it have no holes.
#pragma once

#include "tools/MeshBuilder.h"

#include <vector>

namespace mediagen {

// A point of a turned profile: distance from the Y axis and height.
struct SProfilePoint {
  float radius;
  float height;
  bool crease = false; // a sharp edge: the normal is not smoothed across this point
};

// Turns the profile (listed from the bottom on the axis, outwards, up and back
// to the top on the axis) about the Y axis in the given number of segments.
// Texture u runs around, v from the first to the last profile point.
void AddLathe(CMeshBuilder &mesh, const std::vector<SProfilePoint> &profile, int segments);

// A sphere of the given radius about centre, as a lathe.
void AddSphere(CMeshBuilder &mesh, const vector3df &centre, float radius, int segments, int rings);

// Extrudes a simple closed outline (in the XY plane, any winding) symmetrically
// along Z to a slab of thickness 2*halfDepth whose edges are bevelled by bevel.
// Corners sharper than about 40 degrees keep a crease, gentler ones are smoothed.
void AddBevelledExtrusion(CMeshBuilder &mesh, const std::vector<vector2df> &outline, float halfDepth, float bevel);

// Extrudes a simple closed outline (XY plane, any winding) symmetrically along
// Z to a flat-sided slab of thickness 2*halfDepth, without bevels.
void AddExtrusion(CMeshBuilder &mesh, const std::vector<vector2df> &outline, float halfDepth);

// The counter-clockwise outline moved inwards by distance, corner by corner
// along the bisector (mitred, the mitre length limited at sharp corners), the
// way AddBevelledExtrusion insets its flat faces.
std::vector<vector2df> InsetOutline(const std::vector<vector2df> &outline, float distance);

// An axis-aligned box from corner lo to corner hi, then moved by transform.
void AddBox(CMeshBuilder &mesh, const vector3df &lo, const vector3df &hi,
            const irr::core::matrix4 &transform = irr::core::matrix4());

// A block on a ring between radii inner and outer, heights y0 and y1 and
// angles a0 to a1 (radians), curved in the given number of steps.
void AddRingSector(CMeshBuilder &mesh, float inner, float outer, float y0, float y1, float a0, float a1, int steps);

// Splits a simple polygon into triangles by ear clipping; returns index triples
// into the polygon. The polygon must be counter-clockwise (positive area).
std::vector<std::array<int, 3>> TriangulatePolygon(const std::vector<vector2df> &polygon);

// Twice the signed area of the polygon: positive for counter-clockwise (x right, y up).
float SignedArea2(const std::vector<vector2df> &polygon);

// The outline in counter-clockwise order (a copy, reversed if it ran clockwise).
std::vector<vector2df> CounterClockwise(std::vector<vector2df> outline);

} // namespace mediagen
