// The engine link: the facade the game talks to. It speaks the reduced UCI
// with the engine program and hands out its answers as board squares. Its
// parts: the program's process (CEngineProcess), the limits it is held to
// (CEngineWatch), its lines read (CEngineReply), its handshake
// (CEngineHandshake), the game it is told (CEngineGame), the move it owes
// (CEngineSearch), the player's advice (CEngineHint) and the words for a
// failure (CEngineFailure). The link watches its engine: a program that
// ends, stops answering, cannot be written to or answers with a move that
// breaks the rules is ended and started afresh, told the game so far and, if
// it owed a move, asked again. No call waits for the engine; every wait is a
// state the per-frame Update passes through.
#pragma once

#include "app/KelvarTypes.h"
#include "engine/CEngineClock.h"
#include "engine/CEngineFailure.h"
#include "engine/CEngineGame.h"
#include "engine/CEngineHandshake.h"
#include "engine/CEngineHint.h"
#include "engine/CEngineLineBuffer.h"
#include "engine/CEngineProcess.h"
#include "engine/CEngineSearch.h"
#include "engine/CEngineWatch.h"

#include <irrlicht.h>

#include <cstdint>
#include <string>
#include <vector>

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
  // Tells the engine to quit and ends its process group; waits at most
  // half a second for it to quit by itself.
  void Exit();

  // Writes text to the engine as it is; false if it did not all go in.
  bool WriteToEngine(const char *text);
  // The engine's identification from its handshake, or a note on why there is none yet.
  irr::core::stringw GetEngineInfo();
  // The engine the player chose, as the messages name it: the path of a UCI
  // engine set in the settings (or ABROK_ENGINE), else Stockfish.
  const std::string &GetEngineName() const { return failure.EngineName(); }
  // Starts a new game: the engine leaves any search and game it had.
  void Reset();
  // Records a move made on the board and sends it; the engine answers it with
  // a search. A promotion carries the letter of the piece chosen (q, r, b or
  // n; a queen unless promotion names another piece). Under a clock the
  // engine is told the position and the clock ("go wtime ... btime ...").
  void SubmitMove(const BoardSquare &from, const BoardSquare &to, bool promoted, irr::s32 promotion = Queen);
  // Records the engine's own move, played on the board, and hands it back
  // as a bare move line; its answer is owed but means nothing.
  void HandBackMove(const BoardSquare &from, const BoardSquare &to, bool promoted, irr::s32 promotion = Queen);
  // The clock the engine's next searches are told (cleared: no clock, the
  // fixed think time). The game sets it whenever its clock changes.
  void SetClock(const CEngineClock &value) { clock = value; }
  const CEngineClock &GetClock() const { return clock; }
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
  // queen when there is none).
  bool ProcessEngineResult(BoardSquare &from, BoardSquare &to, irr::s32 &promotion);
  // The move last handed out by ProcessEngineResult breaks the rules: it
  // counts as the engine's fault, as if the engine program had reported it.
  // The engine is started afresh and asked again, or given up on the third
  // such fault within a minute.
  void RejectResult();
  // Asks the engine to move first. False when there is no engine.
  bool RequestInitialMove();
  irr::core::stringw GetMovesHistory() const { return game.History(); }
  // As SendPosition above, from another start: "position fen <FEN> moves ...";
  // an empty FEN is the standard start. The start is kept for later positions
  // and for a restarted engine.
  bool SendPosition(const std::string &startFen, const std::vector<std::string> &moves);
  // The FEN the current game started from; empty for the standard start.
  const std::string &GetStartFen() const { return game.StartFen(); }
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
  bool IsHintPending() const { return hint.IsPending(); }

  LinkState GetState() const { return state; }
  // True while the engine owes a move (a search or a hand-back's answer).
  bool IsSearchPending() const { return search.IsOwed(); }
  int GetRestartCount() const { return handshake.RestartCount(); }
  const std::vector<std::string> &GetMoves() const { return game.Moves(); }
  // True, once, after the link gave up on an engine that had been playing:
  // the game then goes on without it.
  bool TakeGiveUp() { return failure.TakeGiveUp(); }

private:
  // Tests, the fuzz target and the benchmark reach the internals through this.
  friend struct CCEManagerProbe;

  // Spawns the engine program and sends "uci". False if it cannot be spawned.
  bool Launch();
  // Acts on engine output already read: assembles and handles its lines.
  void OnEngineBytes(const char *data, size_t size);
  void OnEngineLine(const std::string &line);
  // A search's answer (or a "bestmove" nothing asked for).
  void OnResultLine(const std::string &line, const std::string &move, bool malformed, const std::string &fault);
  // The handshake is complete: options, the game so far, and a fresh search
  // if the engine owed a move.
  void OnHandshakeDone();
  // A search's answer broke the rules or was no move: never played; the
  // engine is started afresh and asked again, or given up.
  void OnMoveFault(const std::string &fault);
  // Sends "isready" whose "readyok" closes a fence: results read before it
  // belong to what came before and are dropped.
  void SendFence();
  // Writes a command line (line feed included) if the engine is ready; a
  // failed write counts as the engine's death.
  void SendCommand(const std::string &text);
  // Looks for a hung engine and restarts it.
  void Watch();
  // Ends the engine and starts another, unless that has happened too often.
  // A notice, if given, is shown on the status line instead of "Engine restarted".
  void Restart(const std::string &reason, const std::wstring &notice = L"");
  // Gives up on the engine: logs and tells the player what is missing.
  void Fail(CEngineFailure::Kind kind, const std::string &reason);
  void StopProcess();
  // Records a move and sends it: as a bare line, or with the clock's search.
  void SendMove(const BoardSquare &from, const BoardSquare &to, bool promoted, irr::s32 promotion, bool handBack);
  // Marks a search owed from now on, within the think time or the clock's time.
  void OweSearch();
  // Sends the position (if any) and the search: "go", or under a clock
  // "go wtime ... btime ..." (logged).
  void SendClockedSearch(const std::string &position);

  CEngineProcess process;
  CEngineLineBuffer lineBuffer;
  CEngineWatch watch;
  CEngineHandshake handshake;
  CEngineGame game;
  CEngineSearch search;
  CEngineHint hint;
  CEngineFailure failure;
  CEngineClock clock;
  LinkState state = LinkState::Off;
};
