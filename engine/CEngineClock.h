// The chess clock as the engine is told it with a search: both sides' time
// left, their increments and the moves to the end of the period, as they
// stood when the game handed them over. A search asked for later (the
// engine restarted meanwhile) is told the time since then as spent by the
// side to move. Plain values in, a "go" line out: tested without a process.
#pragma once

#include <cstdint>
#include <string>

class CEngineClock {
public:
  // No clock: searches are the fixed-time "go" of the engine program's level.
  void Clear() { on = false; }
  // The clock at tick now: the time left and increment of each side
  // (White first), the moves the side to move has left in its period (0:
  // the rest of the game), and which side is to move (0 White, 1 Black).
  void Set(int64_t whiteMs, int64_t blackMs, int64_t whiteIncrementMs, int64_t blackIncrementMs, int movesToGo,
           int sideToMove, uint32_t now);
  bool IsOn() const { return on; }

  // "go\n" without a clock; else "go wtime W btime B [winc I binc J]
  // [movestogo N]\n" (the increments when either is not zero, the moves
  // when not zero), the side to move's time reduced by what has passed
  // since Set (at least 1 ms).
  std::string GoCommand(uint32_t now) const;
  // How long the side to move may think at now: its time left (0 without a clock).
  int64_t TimeLeft(uint32_t now) const;

private:
  bool on = false;
  int64_t timeMs[2] = {0, 0};
  int64_t incrementMs[2] = {0, 0};
  int movesToGo = 0;
  int side = 0;
  uint32_t setAt = 0;
};
