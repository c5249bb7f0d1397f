// The side view of the knight's horse head and neck, used for the knight mesh
// and for the emblem on the splash picture.
#pragma once

#include "tools/MeshBuilder.h"

#include <vector>

namespace mediagen {

// The outline in piece units: x forwards (the horse looks towards +x), y up
// from the board; the neck's foot at y = 2.2 sinks into the round base.
std::vector<vector2df> KnightOutline();

// The knight's head is the outline extruded to this half thickness, its edges
// bevelled by kKnightBevel.
constexpr float kKnightHalfDepth = 1.3f;
constexpr float kKnightBevel = 0.45f;

} // namespace mediagen
