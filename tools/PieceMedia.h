// The six chess piece meshes, the check marker and the piece textures.
#pragma once

#include "tools/MediaFolder.h"

namespace mediagen {

enum class EPieceKind { Pawn, Rook, Knight, Bishop, Queen, King };

// A piece mesh: origin at the centre of its base, y up, base on y = 0; the
// knight looks towards +X (the game turns white knights by -90 degrees about
// Y, which brings +X to +Z, towards Black, and black knights the other way).
CMeshBuilder MakePieceMesh(EPieceKind kind);

// The check marker: two crossed bars forming an "x" in the XY plane, centred
// kMarkerCentreY above its origin (the game hangs it 16 units above a piece at
// scale 0.6, so it floats clear of the tallest piece).
constexpr float kMarkerCentreY = 6.0f;
CMeshBuilder MakeMarkerMesh();

// Writes "pawn.x", "rook.x", "knight.x", "bishop.x", "queen.x", "king.x", each
// with its shadow companion ("pawn_shadow.x", ...), "x.x", "x.jpg",
// "whitetoken.bmp", "blacktoken.bmp", "whitetoken_hi.bmp", "blacktoken_hi.bmp".
bool WritePieceMedia(const CMediaFolder &folder);

// Writes a set's piece textures, "whitetoken.bmp" and "blacktoken.bmp", and
// their highlighted forms ("_hi": White glows gold, Black ember red).
bool WriteTokenTextures(const CMediaFolder &folder, const CRasterImage &white, const CRasterImage &black);

} // namespace mediagen
