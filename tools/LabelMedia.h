// The four label strips around the board and their four textures.
#pragma once

#include "tools/MediaFolder.h"
#include "tools/RasterImage.h"

namespace mediagen {

// Which characters a strip carries, in the order of its tiles along mesh +X
// (file letters) or +Y (rank digits).
enum class ELabelStrip { FilesAtoH, FilesHtoA, Ranks1to8 };

// A strip mesh: a flat band (top face at z = 0, facing -Z, which the game's
// 90 degree turn about X brings face up) of tiles one square apart, tile 0
// centred on the origin. File strips run along X with a plain corner tile at
// each end; rank strips run along Y.
CMeshBuilder MakeLabelStrip(ELabelStrip strip);

// Writes "chars.x", "chars2.x", "numbers.x", "numbers2.x", "nc_light.jpg",
// "nc_hi_light.jpg", "nc_dark.jpg", "nc_hi_dark.jpg".
bool WriteLabelMedia(const CMediaFolder &folder);

// How a board set's four label textures are painted: the frame's surface of
// the light and the dark strips (kAtlasWidth x kAtlasHeight), the ink of
// their characters, and the inlay lines of each, plain and highlighted.
struct SLabelStyle {
  CRasterImage lightGround, darkGround;
  SColorF lightInk, darkInk;
  SColorF lightInlay[2], darkInlay[2];
};

// Writes "nc_light.jpg", "nc_hi_light.jpg", "nc_dark.jpg" and
// "nc_hi_dark.jpg" in the style given.
bool WriteLabelTextures(const CMediaFolder &folder, const SLabelStyle &style);

} // namespace mediagen
