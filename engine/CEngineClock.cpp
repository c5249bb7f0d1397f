#include "engine/CEngineClock.h"

#include <algorithm>

void CEngineClock::Set(int64_t whiteMs, int64_t blackMs, int64_t whiteIncrementMs, int64_t blackIncrementMs,
                       int movesToGoNow, int sideToMove, uint32_t now) {
  on = true;
  timeMs[0] = whiteMs;
  timeMs[1] = blackMs;
  incrementMs[0] = whiteIncrementMs;
  incrementMs[1] = blackIncrementMs;
  movesToGo = movesToGoNow;
  side = sideToMove == 1 ? 1 : 0;
  setAt = now;
}

int64_t CEngineClock::TimeLeft(uint32_t now) const {
  if (!on)
    return 0;
  // Unsigned difference: correct across the tick counter's wrap-around.
  return std::max<int64_t>(1, timeMs[side] - int64_t(uint32_t(now - setAt)));
}

std::string CEngineClock::GoCommand(uint32_t now) const {
  if (!on)
    return "go\n";
  int64_t left[2] = {timeMs[0], timeMs[1]};
  left[side] = TimeLeft(now);
  std::string go = "go wtime " + std::to_string(left[0]) + " btime " + std::to_string(left[1]);
  if (incrementMs[0] != 0 || incrementMs[1] != 0)
    go += " winc " + std::to_string(incrementMs[0]) + " binc " + std::to_string(incrementMs[1]);
  if (movesToGo > 0)
    go += " movestogo " + std::to_string(movesToGo);
  return go + "\n";
}
