// The four label strips around the board and their four textures.
#pragma once

#include "tools/MediaFolder.h"

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

} // namespace mediagen
