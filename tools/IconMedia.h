// The application icon: a black knight on a light board square in a dark
// wooden frame, drawn at any size and written as PNG files for the desktop's
// icon theme.
#pragma once

#include "tools/MediaFolder.h"

namespace mediagen {

// The sizes (in pixels, square) written into the icon theme.
constexpr int kIconSizes[] = {48, 64, 128, 256};

// The icon, size x size pixels, transparent outside the rounded frame.
CRasterImage MakeIcon(int size);

// Writes "<size>x<size>/apps/kelvar.png" under the folder for every icon
// size, the way the hicolor icon theme lays them out.
bool WriteIcons(const std::string &themeFolder, irr::video::IVideoDriver *driver);

} // namespace mediagen
