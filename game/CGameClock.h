// The game's chess clock: the time control a game is played under, both
// sides' time as moves are played and taken back, the flag, the clock on
// the table and in the status band, the low-time warning, and what the
// engine is told of the clock. The times come from the program's tick, so
// tests drive them through platform::SetTickSource.
#pragma once

#include "chess/ChessClock.h"
#include "chess/PgnGame.h"
#include "scene/CChessClockModel.h"

#include <cstdint>
#include <string>

class CGameClock {
public:
  // Places the clock on the table; a missing media file leaves it off the
  // table (logged) and the clock still counts. Always true.
  bool Init();
  // Watches the flag, refreshes the faces and the status band, warns of
  // low time.
  void Update();
  void Exit();

  // A new game from its start under the settings' time control: the side
  // to move's time runs from now. Without a control the clock is off.
  void NewGame(int sideToMove);
  // No game: the clock is off and leaves the table.
  void Off();
  // Takes over a game read from a file: its TimeControl tag and the time
  // left after each move set the faces; nothing runs until Run. A game
  // without a (playable) TimeControl tag is played without a clock.
  void Load(const chess::PgnGame &game, int startSide);
  // Play goes on from the position on the board: the side to move's time runs from now.
  void Run();
  // A move was played: the mover's time is charged, the other side's runs.
  void Moved();
  // The game is over: the times stand still.
  void Stop();
  // plies moves were taken back: both faces show what they showed before them.
  void TakeBack(size_t plies);

  bool IsOn() const { return clock.IsOn(); }
  const chess::ChessClock &GetClock() const { return clock; }
  // The time left of a side now (0 without a clock).
  int64_t Remaining(int color);
  // Writes the control and each move's time left into a game's record
  // ([TimeControl "..."], a "[%clk h:mm:ss]" comment after every move);
  // nothing without a clock.
  void Annotate(chess::PgnGame &game);
  // Both faces as the status band shows them ("White 4:57  Black 5:00");
  // empty without a clock.
  std::string StatusText();
  // Counts every change of what the clock shows, for the frame loop.
  uint32_t GetShownRevision() const { return shownRevision; }

  // The tag that names a Bronstein delay (PGN's TimeControl has no word for it).
  static constexpr const char *INCREMENT_TAG = "KelvarIncrement";

private:
  // Milliseconds from the program's tick, widened so they never wrap.
  int64_t Now();
  // Tells the engine link the clock for its next searches.
  void TellEngine();
  // Shows the faces on the table and in the status band when they changed.
  void Show();
  void WarnOfLowTime();

  chess::ChessClock clock;
  CChessClockModel model;
  bool haveModel = false;
  bool stopped = true;
  bool haveTick = false;
  uint32_t lastTick = 0;
  int64_t elapsed = 0;
  int flagged = chess::ChessClock::NO_SIDE;
  size_t warnedPeriod[2] = {0, 0}; // 1 + the period whose low-time warning was heard
  std::string shownFaces[2];
  int shownRunning = -2;
  uint32_t shownRevision = 0;
};
