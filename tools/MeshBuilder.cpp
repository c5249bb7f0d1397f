#include "tools/MeshBuilder.h"

#include <cstdio>

namespace mediagen {

uint32_t CMeshBuilder::AddVertex(const vector3df &position, const vector3df &normal, const vector2df &uv) {
  vector3df n = normal;
  n.normalize();
  vertices.push_back({position, n, uv});
  return static_cast<uint32_t>(vertices.size() - 1);
}

void CMeshBuilder::AddTriangle(uint32_t a, uint32_t b, uint32_t c) {
  const vector3df &pa = vertices[a].position, &pb = vertices[b].position, &pc = vertices[c].position;
  const vector3df facing = (pb - pa).crossProduct(pc - pa);
  if (facing.getLengthSQ() <= 1e-14f)
    return; // degenerate, e.g. where a turned profile meets its axis
  const vector3df outward = vertices[a].normal + vertices[b].normal + vertices[c].normal;
  // In Irrlicht's left-handed space a clockwise face has (b-a)x(c-a) towards the viewer.
  if (facing.dotProduct(outward) >= 0.0f)
    triangles.push_back({a, b, c});
  else
    triangles.push_back({a, c, b});
}

void CMeshBuilder::AddQuad(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
  AddTriangle(a, b, c);
  AddTriangle(a, c, d);
}

void CMeshBuilder::Append(const CMeshBuilder &other) {
  const uint32_t base = VertexCount();
  vertices.insert(vertices.end(), other.vertices.begin(), other.vertices.end());
  for (const auto &t : other.triangles)
    triangles.push_back({t[0] + base, t[1] + base, t[2] + base});
}

void CMeshBuilder::Transform(const irr::core::matrix4 &m, uint32_t first) {
  for (uint32_t i = first; i < vertices.size(); ++i) {
    m.transformVect(vertices[i].position);
    m.rotateVect(vertices[i].normal);
    vertices[i].normal.normalize();
  }
}

irr::core::aabbox3df CMeshBuilder::Bounds() const {
  if (vertices.empty())
    return irr::core::aabbox3df(0, 0, 0, 0, 0, 0);
  irr::core::aabbox3df box(vertices[0].position);
  for (const auto &v : vertices)
    box.addInternalPoint(v.position);
  return box;
}

namespace {

// Appends the numbers printed with printf-style format.
template <typename... Numbers> void AppendFormat(std::string &out, const char *format, Numbers... numbers) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, format, numbers...);
  out += buffer;
}

// Fixed decimals keep the files byte-identical between runs; -0 is written as 0.
double Tidy(float v) { return (v > -5e-7f && v < 5e-7f) ? 0.0 : static_cast<double>(v); }

} // namespace

// Appends a ".x" list: its items, one per line, separated by commas and
// closed by a semicolon.
template <typename WriteItem> void AppendList(std::string &out, size_t count, WriteItem writeItem) {
  for (size_t i = 0; i < count; ++i) {
    writeItem(i);
    out += (i + 1 < count) ? ",\n" : ";\n";
  }
}

std::string EncodeXMesh(const CMeshBuilder &mesh, const SMeshMaterial &material) {
  const auto &vertices = mesh.Vertices();
  const auto &triangles = mesh.Triangles();
  const size_t nv = vertices.size(), nt = triangles.size();
  std::string out = "xof 0303txt 0032\n\nMesh {\n";
  const auto faces = [&](const char *indent) {
    out += indent + std::to_string(nt) + ";\n";
    AppendList(out, nt, [&](size_t i) {
      out += indent + std::string("3;") + std::to_string(triangles[i][0]) + "," + std::to_string(triangles[i][1]) +
             "," + std::to_string(triangles[i][2]) + ";";
    });
  };

  out += " " + std::to_string(nv) + ";\n";
  AppendList(out, nv, [&](size_t i) {
    const auto &p = vertices[i].position;
    AppendFormat(out, " %.5f;%.5f;%.5f;", Tidy(p.X), Tidy(p.Y), Tidy(p.Z));
  });
  faces(" ");

  out += " MeshNormals {\n  " + std::to_string(nv) + ";\n";
  AppendList(out, nv, [&](size_t i) {
    const auto &n = vertices[i].normal;
    AppendFormat(out, "  %.5f;%.5f;%.5f;", Tidy(n.X), Tidy(n.Y), Tidy(n.Z));
  });
  // Normals share the vertex numbering, so the normal faces repeat the faces.
  faces("  ");
  out += " }\n";

  out += " MeshTextureCoords {\n  " + std::to_string(nv) + ";\n";
  AppendList(out, nv,
             [&](size_t i) { AppendFormat(out, "  %.5f;%.5f;", Tidy(vertices[i].uv.X), Tidy(vertices[i].uv.Y)); });
  out += " }\n";

  out += " MeshMaterialList {\n  1;\n  " + std::to_string(nt) + ";\n";
  for (size_t i = 0; i < nt; ++i)
    out += (i + 1 < nt) ? "  0,\n" : "  0;\n";
  out += "  Material {\n";
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, "   %.4f;%.4f;%.4f;%.4f;;\n   %.4f;\n   %.4f;%.4f;%.4f;;\n   %.4f;%.4f;%.4f;;\n",
                material.face[0], material.face[1], material.face[2], material.face[3], material.power,
                material.specular[0], material.specular[1], material.specular[2], material.emissive[0],
                material.emissive[1], material.emissive[2]);
  out += buffer;
  if (!material.texture.empty())
    out += "   TextureFilename {\n    \"" + material.texture + "\";\n   }\n";
  out += "  }\n }\n}\n";
  return out;
}

} // namespace mediagen
