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
  // The reason as an English pattern with {1}, {2}, ... and the values put in
  // its places (a piece as "the knight", a square, the typed text, the
  // candidates joined by " or "), so that the interface may say it in its
  // language: reason is the pattern filled in.
  std::string reasonPattern;
  std::vector<std::string> reasonValues;
};

// A reason pattern with {1}, {2}, ... replaced by values in order.
std::string FillReason(const std::string &pattern, const std::vector<std::string> &values);

// Reads a typed text in the position; nothing is played.
MoveInput ReadTypedMove(const Position &position, const std::string &text);

} // namespace chess
