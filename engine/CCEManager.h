// The engine link: the engine process on two pipes and the reduced UCI
// conversation with it.
#pragma once

#include "app/KelvarTypes.h"
#include "platform/Platform.h"

#include <irrlicht.h>

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
  bool ProcessEngineResult(BoardSquare &from, BoardSquare &to);
  bool RequestInitialMove();
  irr::core::stringw GetMovesHistory() const { return movesHistory; }

private:
  platform::ChildProcess process;
  irr::core::stringw engineInfo;
  irr::core::stringc resultLine;
  irr::core::stringw movesHistory;
};
