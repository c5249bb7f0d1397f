// The interface pictures: the four camera buttons and the start-up splash.
#pragma once

#include "tools/MediaFolder.h"

namespace mediagen {

constexpr int kCameraButtonSize = 33;
constexpr int kSplashWidth = 512;
constexpr int kSplashHeight = 128;

// A camera button picture: a small board seen from the top (a square) or from
// the side (a trapezoid), with the viewer's pieces (white or black) in front.
CRasterImage MakeCameraButton(bool blackSide, bool fromSide);

// Writes "cam_w_top.bmp", "cam_w_side.bmp", "cam_b_top.bmp", "cam_b_side.bmp"
// and "init_screen.bmp".
bool WriteInterfaceMedia(const CMediaFolder &folder);

} // namespace mediagen
