// A move typed by the player: standard notation in the forms players type it
// ("e4", "Nf3", "nf3", "exd5", "O-O", "0-0", "e8=Q", "e8Q", a missing or
// extra "+") or UCI's long form ("g1f3", "e7e8q"), read against the
// position. An ambiguous text names its candidates, an illegal one says why.
#pragma once

#include "chess/Position.h"

#include <string>
#include <vector>

namespace chess {

struct MoveInput {
  enum class Verdict { Move, Ambiguous, Refused };
  Verdict verdict = Verdict::Refused;
  Move move;                           // the move, when the verdict is Move
  std::vector<std::string> candidates; // the moves an ambiguous text may mean, in SAN
  std::string reason;                  // why the text was refused or is ambiguous
};

// Reads a typed text in the position; nothing is played.
MoveInput ReadTypedMove(const Position &position, const std::string &text);

} // namespace chess
