// The engine link's watch over its engine: how long each answer may take
// before the engine counts as hung, and how many restarts and broken
// answers within a minute it is allowed before it is given up. It knows only
// ticks, so every limit is tested without a process.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

// How long the link gives its engine before it counts as hung, and how often
// it may restart it. Tests shorten them.
struct EngineTimings {
  uint32_t handshakeMs = 20000;  // "uci" to "uciok": the engine program starts Stockfish first
  uint32_t readyMs = 8000;       // "isready" to "readyok"
  uint32_t searchGraceMs = 6000; // beyond the think time, for "bestmove"
  uint32_t thinkMs = 1000;       // the engine program's think time (ABROK_THINK_MS)
  uint32_t restartWindowMs = 60000;
  int restartsPerWindow = 3;   // the next fault within the window gives the engine up
  int moveFaultsPerWindow = 3; // this many broken answers within the window give it up
};

// The engine program's think time as ABROK_THINK_MS sets it (1 to 600000 ms),
// or the default when it is unset or anything else.
uint32_t ThinkMsFromEnvironment();

class CEngineWatch {
public:
  EngineTimings &Timings() { return timings; }
  const EngineTimings &Timings() const { return timings; }

  // The conversation's steps, each with the tick it happened at.
  void HandshakeBegan(uint32_t now) { handshakeSince = now; }
  void FenceSent(uint32_t now) { fences.push_back(now); }
  // A "readyok" came: the oldest fence is closed. False if none was open.
  bool FenceAnswered();
  bool HasOpenFence() const { return !fences.empty(); }
  void ClearFences() { fences.clear(); }
  // A search began at now; allowanceMs, when not 0, is how long it may
  // take (the engine's time on the clock) in place of the think time.
  void SearchBegan(uint32_t now, uint32_t allowanceMs = 0) {
    searchSince = now;
    searchAllowanceMs = allowanceMs;
  }

  // Why the engine counts as hung at now (the handshake, a fence or the
  // search it owes being overdue), or empty if it does not.
  std::string Overdue(uint32_t now, bool handshaking, bool searching) const;

  // Notes a restart at now. False, noting nothing, if the restarts within
  // the window have used up the budget: the engine is to be given up.
  bool MayRestart(uint32_t now);
  // How many restarts the window holds at now, a refused one included.
  int RestartsInWindow(uint32_t now);
  // Notes a broken answer at now; true if it is the one that gives the
  // engine up (moveFaultsPerWindow of them within the window).
  bool MoveFaultGivesUp(uint32_t now);

private:
  // Drops the ticks that lie a whole window or more before now.
  void Expire(std::deque<uint32_t> &ticks, uint32_t now) const;

  EngineTimings timings;
  uint32_t handshakeSince = 0;
  uint32_t searchSince = 0;
  uint32_t searchAllowanceMs = 0;
  std::deque<uint32_t> fences;       // send ticks of unanswered "isready"
  std::deque<uint32_t> restartTicks; // restarts within the last window
  std::deque<uint32_t> faultTicks;   // broken answers within the last window
};
