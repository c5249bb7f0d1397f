// The engine link: the engine process on two pipes and the reduced UCI
// conversation with it.
#pragma once

#include "app/KelvarTypes.h"
#include "platform/Platform.h"

#include <irrlicht.h>

#include <string>
#include <vector>

class CCEManager {
public:
  CCEManager() = default;
  ~CCEManager() = default;
  CCEManager(const CCEManager &) = delete;
  CCEManager &operator=(const CCEManager &) = delete;

  // Starts "./Abrok_5_0.exe" and performs the handshake; false if it cannot start.
  bool Init();
  // The per-frame poll: reads at most 9 bytes and assembles lines.
  void Update();
  // Tells the engine to quit and ends its process.
  void Exit();

  bool WriteToEngine(const char *text);
  bool ReadFromEngine(irr::core::stringc &chunk);
  irr::core::stringw GetEngineInfo();
  bool WaitReady();
  void Reset();
  void SubmitMove(const BoardSquare &from, const BoardSquare &to, bool promoted);
  // Takes the engine's last "bestmove" as squares. An answer without a move
  // ("bestmove (none)") or with characters off the board yields squares off
  // the board, so the caller can tell the engine has no move.
  bool ProcessEngineResult(BoardSquare &from, BoardSquare &to);
  bool RequestInitialMove();
  // Tells the engine the game's position as the moves from the start, without
  // asking for a search, and makes them the moves kept for the history. Any
  // answer still due from an earlier search is dropped. False if the engine
  // did not confirm it was ready afterwards.
  bool SendPosition(const std::vector<std::string> &moves);
  irr::core::stringw GetMovesHistory() const { return movesHistory; }

private:
  // Tests and the fuzz target feed engine output through this without a process.
  friend struct CCEManagerProbe;

  // Assembles engine output into lines and acts on each complete one: keeps
  // a "bestmove" line as the result, stops a search after five "info currmove".
  void OnEngineBytes(const char *data, size_t size);
  // Writes command, then collects engine output until it contains token or
  // 1000 ms have passed. True if the token arrived.
  bool WaitFor(const char *command, const char *token, irr::core::stringc &collected);
  // Reads and drops everything the engine has written so far.
  void DrainOutput();
  // Empties the poll's line in the making and its "info currmove" count.
  static void ForgetPartialLine();
  // Appends one chunk read during a wait; the poll's half line is void now.
  void ConsumedByWait(irr::core::stringc &collected, const irr::core::stringc &chunk);

  platform::ChildProcess process;
  irr::core::stringw engineInfo;
  irr::core::stringc resultLine;
  irr::core::stringw movesHistory;
};
