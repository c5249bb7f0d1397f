// A chess clock for two sides under a time control, on a time source the
// caller gives (milliseconds from any fixed point, never going back): the
// clock itself never reads the time, so it is tested on an injected one.
// It keeps what both faces showed before every move, so a take back puts
// both clocks back, and the time left after each move for the game record.
#pragma once

#include "chess/TimeControl.h"

#include <cstdint>
#include <string>
#include <vector>

namespace chess {

class ChessClock {
public:
  static constexpr int NO_SIDE = -1;

  // One side's clock between moves.
  struct Face {
    int64_t remainingMs = 0; // at the start of the side's turn (or now, if not running)
    int movesMade = 0;       // moves this side has completed in the game
    bool operator==(const Face &o) const { return remainingMs == o.remainingMs && movesMade == o.movesMade; }
  };

  // Starts a game: both sides get the first period's time (and, under
  // Fischer, one increment before move 1); sideToMove's time runs from nowMs.
  // With no control (IsNone) the clock stays off.
  void Start(const TimeControl &control, IncrementKind kind, int sideToMove, int64_t nowMs);
  // Starts a game that has already had plies: leftAfterPly[i] is the time
  // the mover of ply i had left after it (a value below 0 means unknown: that
  // side's previous value stands, or its starting time, with the next
  // period's time added when the ply completes a period; LeftAfterPly keeps
  // the unknown value). startSide moved first; the side to move's time runs
  // from nowMs.
  void Resume(const TimeControl &control, IncrementKind kind, int startSide, const std::vector<int64_t> &leftAfterPly,
              int64_t nowMs);
  // Off: no control, nothing runs, nothing falls.
  void Clear();

  bool IsOn() const { return !control.IsNone(); }
  const TimeControl &Control() const { return control; }
  IncrementKind Kind() const { return kind; }
  // The colour whose time runs; NO_SIDE when off or stopped.
  int Running() const { return running; }

  // A side's time left at nowMs, never below 0.
  int64_t Remaining(int color, int64_t nowMs) const;
  // The side whose time has run out at nowMs (exactly at zero counts), or
  // NO_SIDE. Only the running side can run out.
  int Flagged(int64_t nowMs) const;

  // The running side has moved at nowMs: its time used is charged, then its
  // increment added (Fischer) or the time used given back up to the delay
  // (Bronstein), and on completing a period's moves the next period's time
  // added; the other side's time runs from nowMs. Returns the mover's time
  // left after all that (the value a game record keeps for the move); -1,
  // with nothing recorded, when no time runs.
  int64_t Moved(int64_t nowMs);
  // The game ended at nowMs: the running side is charged and nothing runs.
  void Stop(int64_t nowMs);
  // Play goes on at nowMs after a Stop (or a game taken over that waited):
  // the side to move's time runs again.
  void Continue(int64_t nowMs);
  // Puts both faces back to what they showed before the last `plies` moves
  // (all of them if fewer were made); the side to move then runs from nowMs.
  void TakeBack(size_t plies, int64_t nowMs);

  // Moves made since Start or Resume, counted as the clock saw them.
  size_t Plies() const { return leftAfter.size(); }
  // The mover's time left after ply i (0-based); below 0 where Resume was
  // given an unknown value.
  int64_t LeftAfterPly(size_t ply) const { return leftAfter.at(ply); }
  const Face &FaceOf(int color) const { return faces[color]; }

  // What the engine is told for a side: moves to the end of its current
  // period (0 in a period that lasts the rest of the game) and the period's
  // increment.
  int MovesToGo(int color) const;
  int64_t IncrementOf(int color) const;
  // A tenth of the base time of the side's current period: below it the
  // player hears the low-time warning (once per period).
  int64_t LowTimeMs(int color) const;
  // The index of the side's current period.
  size_t PeriodOf(int color) const;

private:
  TimeControl control;
  IncrementKind kind = IncrementKind::Fischer;
  Face faces[2];
  int running = NO_SIDE;
  int sideToMove = 0;
  int64_t turnStartMs = 0;
  // Both faces and the side to move before each move, for take back.
  struct Before {
    Face faces[2];
    int sideToMove;
  };
  std::vector<Before> history;
  std::vector<int64_t> leftAfter;
};

// The face of a clock: "1:30:00", "4:57", "0:09.3" below ten seconds,
// never below "0:00.0". Always rounded down, as the time shown is time the
// side surely has: a face reads "0:00.0" for the last tenth before the flag.
std::string ClockFaceText(int64_t ms);
// A PGN clock comment's content: "[%clk 0:04:57]" in whole seconds, rounded
// down; below ten seconds with tenths ("[%clk 0:00:09.3]"); "" for a time
// below 0 (unknown).
std::string ClockComment(int64_t ms);
// Finds the first "[%clk h:mm:ss]" or "[%clk h:mm:ss.f]" in a comment (other
// commands may stand around it) and reads it, decimals past the
// milliseconds cut off; false when the comment has none or it is malformed.
bool ReadClockComment(const std::string &comment, int64_t &ms);

} // namespace chess
