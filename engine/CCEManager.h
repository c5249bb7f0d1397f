// The engine link: the engine program on two pipes and the reduced UCI
// conversation with it. The link watches its engine: a program that ends,
// stops answering or cannot be written to is ended and started afresh, told
// the game so far and, if it owed a move, asked again. No call waits for the
// engine; every wait is a state the per-frame Update passes through.
#pragma once

#include "app/KelvarTypes.h"
#include "engine/CEngineLineBuffer.h"
#include "platform/Platform.h"

#include <irrlicht.h>

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

// How long the link gives its engine before it counts as hung, and how often
// it may restart it. Tests shorten them.
struct EngineTimings {
  uint32_t handshakeMs = 20000;  // "uci" to "uciok": the engine program starts Stockfish first
  uint32_t readyMs = 8000;       // "isready" to "readyok"
  uint32_t searchGraceMs = 6000; // beyond the think time, for "bestmove"
  uint32_t thinkMs = 1000;       // the engine program's think time (ABROK_THINK_MS)
  uint32_t restartWindowMs = 60000;
  int restartsPerWindow = 3;
};

class CCEManager {
public:
  enum class LinkState : uint8_t { Off, Handshake, Ready, Failed };

  CCEManager() = default;
  ~CCEManager() = default;
  CCEManager(const CCEManager &) = delete;
  CCEManager &operator=(const CCEManager &) = delete;

  // Starts "./Abrok_5_0.exe" and sends "uci"; the handshake completes in later
  // Updates. Always true: without an engine the program still runs, and a
  // message box says what is missing.
  bool Init();
  // The per-frame step: reads everything the engine has written (up to a
  // bound per frame), acts on each complete line and watches for faults.
  void Update();
  // Tells the engine to quit and ends its process; waits at most half a second.
  void Exit();

  // Writes text to the engine as it is; false if it did not all go in.
  bool WriteToEngine(const char *text);
  // The engine's identification from its handshake, or a note on why there is none yet.
  irr::core::stringw GetEngineInfo();
  // Starts a new game: the engine leaves any search and game it had.
  void Reset();
  // Records a move made on the board and sends it; the engine answers it with
  // a search. A promotion carries the letter of the piece chosen (q, r, b or
  // n; a queen unless promotion names another piece).
  void SubmitMove(const BoardSquare &from, const BoardSquare &to, bool promoted, irr::s32 promotion = Queen);
  // Replaces the game's moves (move texts such as e2e4, e7e8q) and tells the
  // engine the position. Any search under way is dropped. False only when
  // there is no engine to tell.
  bool SendPosition(const std::vector<std::string> &moves);
  // If the engine's answer has arrived, gives its squares once and returns
  // true. An answer without a move ("bestmove (none)", or the null move
  // 0000) gives squares off the board, so the caller can tell the engine has
  // no move; a malformed move is never handed out.
  bool ProcessEngineResult(BoardSquare &from, BoardSquare &to);
  // As above, and the piece a promotion letter after the move names (a
  // queen when there is none or it is not one of q, r, b, n).
  bool ProcessEngineResult(BoardSquare &from, BoardSquare &to, irr::s32 &promotion);
  // Asks the engine to move first. False when there is no engine.
  bool RequestInitialMove();
  irr::core::stringw GetMovesHistory() const { return movesHistory; }
  // As SendPosition above, from another start: "position fen <FEN> moves ...";
  // an empty FEN is the standard start. The start is kept for later positions
  // and for a restarted engine.
  bool SendPosition(const std::string &startFen, const std::vector<std::string> &moves);
  // The FEN the current game started from; empty for the standard start.
  const std::string &GetStartFen() const { return startFen; }
  // Sends "setoption name <name> value <value>" and logs the line.
  // The option is kept and sent again to every engine process started later;
  // while the engine is not ready it is only kept. False if not sent now.
  bool SendOption(const char *name, const char *value, bool remember = true);

  // Asks the engine for advice on the side to move ("go movetime <ms>");
  // its answer is kept apart from the engine's own moves. False if it was
  // not sent (the engine not ready, or advice already on its way).
  bool RequestHint(irr::u32 thinkMs);
  // True once the advice has come; from and to are then its squares.
  bool FetchHint(BoardSquare &from, BoardSquare &to);
  // Drops the advice: a search still running is stopped, and its answer,
  // whenever it comes, is not taken for the engine's move.
  void CancelHint();
  bool IsHintPending() const { return hintPending; }

  LinkState GetState() const { return state; }
  // True while the engine owes a move (a search or a hand-back's answer).
  bool IsSearchPending() const { return searchPending; }
  int GetRestartCount() const { return restartCount; }
  const std::vector<std::string> &GetMoves() const { return moves; }

private:
  // Tests, the fuzz target and the benchmark reach the internals through this.
  friend struct CCEManagerProbe;

  // Spawns the engine program and sends "uci". False if it cannot be spawned.
  bool Launch();
  // Acts on engine output already read: assembles and handles its lines.
  void OnEngineBytes(const char *data, size_t size);
  void OnEngineLine(const std::string &line);
  // The handshake is complete: options, the game so far, and a fresh search
  // if the engine owed a move.
  void OnHandshakeDone();
  // Sends "isready" whose "readyok" closes a fence: results read before it
  // belong to what came before and are dropped.
  void SendFence();
  // Writes a command line (line feed included) if the engine is ready; a
  // failed write counts as the engine's death.
  void SendCommand(const std::string &text);
  // Looks for a dead or hung engine and restarts it.
  void Watch();
  // Ends the engine and starts another, unless that has happened too often.
  void Restart(const std::string &reason);
  // Gives up on the engine: logs and tells the player what is missing.
  void Fail(const std::string &reason);
  void StopProcess();
  std::string PositionCommand() const;
  void RebuildHistory();

  platform::ChildProcess process;
  CEngineLineBuffer lineBuffer;
  EngineTimings timings;
  LinkState state = LinkState::Off;
  uint32_t stateSince = 0;           // tick when the handshake began
  std::deque<uint32_t> fences;       // send ticks of unanswered "isready"
  std::deque<uint32_t> restartTicks; // restarts within the last window
  int restartCount = 0;
  unsigned launchCount = 0;  // tells output of a replaced engine from the current one's
  std::string restartReason; // set while a restart's handshake runs
  std::string handshakeText; // engine output of the handshake under way

  std::vector<std::string> moves; // the game since the start position
  bool searchPending = false;
  uint32_t searchSince = 0;
  int currMoveCount = 0;

  irr::core::stringw engineInfo;
  irr::core::stringc resultLine;
  irr::core::stringc hintLine; // the advice's "bestmove" line, once it came
  bool hintPending = false;    // an advice search's "bestmove" is still to come
  bool hintWanted = false;     // ... and it is to be shown
  irr::core::stringw movesHistory;
  std::string failure;                                      // why there is no engine, once Failed
  bool failureShown = false;                                // the message box has been shown
  std::string startFen;                                     // the game's start; empty for the standard one
  std::vector<std::pair<std::string, std::string>> options; // set by the game, name and value
};
