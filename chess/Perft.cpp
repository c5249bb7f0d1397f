#include "chess/Perft.h"

namespace chess {

std::uint64_t Perft(Position &position, int depth) {
  if (depth <= 0)
    return 1;
  MoveList moves;
  position.GenerateLegal(moves);
  // Bulk counting: the last ply is the length of the move list.
  if (depth == 1)
    return std::uint64_t(moves.size);
  std::uint64_t leaves = 0;
  for (const MoveCode &move : moves) {
    position.DoMove(move);
    leaves += Perft(position, depth - 1);
    position.UndoMove();
  }
  return leaves;
}

} // namespace chess
