// The front end's side of the engine program: a reduced UCI in which every
// move made on the board arrives as a bare line (e2e4, e7e8q) and is answered
// by a search, driven here through Stockfish with standard UCI.
#pragma once

#include "bridge/CBoard.h"
#include "bridge/CStockfish.h"

#include <mutex>
#include <sstream>
#include <string>
#include <vector>

// Strength settings, taken from the environment: ABROK_THINK_MS (think time
// per move, default 1000) and ABROK_SKILL_LEVEL (Stockfish's "Skill Level",
// 0..20, default 4; 20 is full strength).
struct BridgeSettings {
  int thinkMs = 1000;
  int skillLevel = 4;

  // Reads the variables; a value that is not a number in range is reported
  // on standard error and the default kept.
  static BridgeSettings FromEnvironment();
};

class CBridge {
public:
  explicit CBridge(const BridgeSettings &settings) : settings(settings) {}

  // Starts Stockfish. Without it the bridge still answers "uci" and
  // "isready", but every search is refused with a message on standard error.
  void Start();
  // Handles one line from the front end; false once the bridge must quit.
  bool HandleLine(const std::string &line);
  // Ends a running search and Stockfish.
  void Quit();

private:
  void AnswerUci();
  void OnStop();
  void OnNewGame();
  void OnPosition(std::istringstream &arguments);
  void OnGo(std::istringstream &arguments);
  void OnMove(const std::string &move);
  // Checks a move against the legal moves and plays it; reports a refusal.
  bool PlayMove(const std::string &move);
  // Sets Stockfish's position to the game and asks it for the legal moves.
  bool RefreshLegalMoves();
  // Starts Stockfish's search for the side to move: the bounded search, or
  // the minimal one that answers the hand-back of the engine's own move.
  void Search(bool handBack);
  // Ends a running search before the game changes under it.
  void FinishSearch();
  bool NeedStockfish(const std::string &what);
  // Reader thread: passes a search's answer on, as a bare "bestmove" line.
  void OnBestMove(const std::string &line);
  // Writes to the front end; both threads write, one at a time.
  void Write(const std::string &text);

  BridgeSettings settings;
  CStockfish stockfish;
  bool haveStockfish = false;
  std::string startFen;                // the game's start position; empty for the standard one
  std::vector<std::string> moves;      // the game since the start position
  std::vector<std::string> legalMoves; // of the position after moves
  CBoard board;
  std::mutex outputMutex;
  std::string lastBestMove; // guarded by outputMutex
};
