// Counting the leaves of the legal move tree, the standard check of a move
// generator against published figures.
#pragma once

#include "chess/Position.h"

#include <cstdint>

namespace chess {

// Number of legal move sequences of length depth from the position, every
// promotion counted four times. The last ply is counted from the move list
// without playing it. The position is as before afterwards.
std::uint64_t Perft(Position &position, int depth);

} // namespace chess
