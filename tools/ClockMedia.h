// The chess clock on the table: its wooden case, the plate carrying the two
// faces, one button per side, the digit atlas the faces' glyphs are cut from
// (normal and red for a fallen flag), and the low-time warning sound. The
// shape and the atlas layout are in tools/ClockLayout.h.
#pragma once

#include "tools/MediaFolder.h"

#include <cstdint>
#include <vector>

namespace mediagen {

// The case: a closed prism along X whose section has a low front wall, a
// front panel slanting up and back, a flat top and a straight back.
CMeshBuilder MakeClockCase();

// The thin plate lying on the slanted panel, under both faces.
CMeshBuilder MakeClockPlate();

// A round plunger button: y = 0 is the level of the case's top, the part
// below it hidden inside the case.
CMeshBuilder MakeClockButton();

// Two short quiet beeps, about 0.3 s in all, at kSoundRate.
std::vector<int16_t> MakeLowTimeBeeps();

// Writes "clock_case.x", "clock_wood.jpg", "clock_plate.x", "clock_steel.jpg",
// "clock_button_white.x", "clock_button_black.x" (which use the pieces'
// "whitetoken.bmp" and "blacktoken.bmp"), "clock_digits.png",
// "clock_digits_red.png" and "lowtime.wav".
bool WriteClockMedia(const CMediaFolder &folder);

} // namespace mediagen
