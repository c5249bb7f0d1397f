// The board scene's assets: the two field meshes with their normal and
// highlighted textures, and the three sky box pictures.
#pragma once

#include "tools/MediaFolder.h"

namespace mediagen {

// Field geometry in mesh units; the game scales a field by 2.4, so the square
// pitch of 10 world units is 10 / 2.4 mesh units.
constexpr float kFieldScale = 2.4f;
constexpr float kFieldTopHalf = 2.0f;                         // half width of the flat top
constexpr float kFieldOuterHalf = 10.0f / kFieldScale / 2.0f; // below the bevel: neighbours touch, no gap shows the sky
constexpr float kFieldBevelDrop = 0.05f;                      // height of the bevel
constexpr float kFieldThickness = 0.5f;                       // from the top face down to the bottom
// The side of a field's square texture in pixels.
constexpr int kFieldTextureSize = 256;

// One board field: a bevelled tile with its top face at y = 0. grainAcross
// turns the texture by 90 degrees, so light and dark squares show crossed grain.
CMeshBuilder MakeFieldMesh(bool grainAcross);

// Writes "chess_field_white.x", "chess_field_black.x", "field_lg.jpg",
// "field_dg.jpg", "field_lg_hi.jpg", "field_dg_hi.jpg", "field_lg_last.jpg",
// "field_dg_last.jpg".
bool WriteBoardMedia(const CMediaFolder &folder);

// Writes a board set's six field textures, "field_lg.jpg", "field_dg.jpg" and
// their highlighted ("_hi") and last move ("_last") forms, from the plain light
// and dark squares: the same cool selection glow and amber last-move wash in
// every set, so that they read alike whatever the squares are made of.
bool WriteFieldTextures(const CMediaFolder &folder, const CRasterImage &light, const CRasterImage &dark);

// Writes "sky_top.bmp", "sky_bottom.bmp" and "sky_l_r_f_b.bmp".
bool WriteSkyMedia(const CMediaFolder &folder);

} // namespace mediagen
