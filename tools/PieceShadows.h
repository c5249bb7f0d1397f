// Low-polygon stand-ins for the pieces, used only to build their stencil
// shadow volumes. Irrlicht rebuilds every volume each frame from the mesh it
// is given, so a coarse mesh with the piece's silhouette makes shadows cheap.
#pragma once

#include "tools/PieceMedia.h"

namespace mediagen {

// A closed solid with the piece's outline (same height and base within a few
// percent) in under a quarter of its triangles. It lies just inside the
// display piece everywhere, so its volume never darkens a lit surface of the
// piece itself, and never shares a surface with it (which would flicker).
CMeshBuilder MakePieceShadowMesh(EPieceKind kind);

// The shadow companion's file name: "pawn.x" -> "pawn_shadow.x".
std::string ShadowMeshName(const std::string &meshName);

} // namespace mediagen
