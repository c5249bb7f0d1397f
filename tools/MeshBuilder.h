// Triangle meshes as the generator builds them: positions, normals and texture
// coordinates per vertex, one material per mesh.
#pragma once

#include <irrlicht.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace mediagen {

using irr::core::vector2df;
using irr::core::vector3df;

struct SMeshVertex {
  vector3df position;
  vector3df normal;
  vector2df uv;
};

// The one material of a mesh, in the terms of a DirectX .x Material.
struct SMeshMaterial {
  float face[4] = {1, 1, 1, 1}; // diffuse RGBA; the loader also makes it the vertex colour
  float power = 0;              // specular exponent; 0 switches specular off
  float specular[3] = {0, 0, 0};
  float emissive[3] = {0, 0, 0};
  std::string texture; // file name next to the mesh, empty for none
};

class CMeshBuilder {
public:
  // Adds a vertex and returns its index.
  uint32_t AddVertex(const vector3df &position, const vector3df &normal, const vector2df &uv);

  // Adds a triangle whose front face is clockwise seen from the side its
  // vertex normals point to; the corners are reordered when needed.
  void AddTriangle(uint32_t a, uint32_t b, uint32_t c);
  // Adds the quad a-b-c-d (corners in order around its edge) as two triangles, oriented like AddTriangle.
  void AddQuad(uint32_t a, uint32_t b, uint32_t c, uint32_t d);

  // Appends another mesh's vertices and triangles.
  void Append(const CMeshBuilder &other);
  // Transforms positions by m and normals by its rotation part, from vertex index first on.
  void Transform(const irr::core::matrix4 &m, uint32_t first = 0);

  const std::vector<SMeshVertex> &Vertices() const { return vertices; }
  const std::vector<std::array<uint32_t, 3>> &Triangles() const { return triangles; }
  uint32_t VertexCount() const { return static_cast<uint32_t>(vertices.size()); }

  // Smallest box around all vertices.
  irr::core::aabbox3df Bounds() const;

private:
  std::vector<SMeshVertex> vertices;
  std::vector<std::array<uint32_t, 3>> triangles;
};

// The mesh as a DirectX .x text file (format 0303, 32-bit floats), faces clockwise.
std::string EncodeXMesh(const CMeshBuilder &mesh, const SMeshMaterial &material);

} // namespace mediagen
