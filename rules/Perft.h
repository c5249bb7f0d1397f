// Counting the leaves of the legal move tree, the standard check of a move
// generator against published figures.
#pragma once

#include "app/KelvarTypes.h"

#include <cstdint>

class CMap;

// Number of legal move sequences of length depth from the board's position
// with sideToMove to move, played through the board's own ExecuteMove.
// The board's legal targets must be up to date; the position is restored
// afterwards. Promotion is to a queen only, so it counts as one move.
std::uint64_t Perft(CMap &map, irr::s32 sideToMove, int depth);
