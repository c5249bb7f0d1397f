// The board sets besides the wooden one the rest of the generator writes:
// each set's textures for the same meshes, in a folder of its own.
#pragma once

#include "tools/MediaFolder.h"

namespace mediagen {

// Writes into "marble/" and "tournament/" each set's field textures
// ("field_lg.jpg" ... "field_dg_last.jpg"), piece textures ("whitetoken.bmp"
// ... "blacktoken_hi.bmp"), label textures ("nc_light.jpg" ...
// "nc_hi_dark.jpg") and the trays' "tray.jpg". Marble: veined white and
// dark green-black stone squares and polished white and black marble pieces.
// Tournament: a cream and green vinyl board and plain cream and black plastic
// pieces.
bool WriteThemeMedia(const CMediaFolder &folder);

} // namespace mediagen
