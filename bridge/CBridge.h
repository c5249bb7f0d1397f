// The front end's side of the engine program: a reduced UCI in which every
// move made on the board arrives as a bare line (e2e4, e7e8q) and is answered
// by a search, driven here through a UCI engine (Stockfish by default) with
// standard UCI. The program keeps the game and its legal moves itself.
//
// Searches: a bare "go" is the level's search within the fixed think time;
// "go movetime N" asks for advice within N ms; "go wtime W btime B [winc I]
// [binc J] [movestogo N]" is the engine's move on a chess clock, the times
// passed on to the engine (see CLevelPlan::GoCommand). On a clock the front
// end sends the game with "position" before each search, and still hands the
// engine's own move back as a bare line, answered by a minimal search.
//
// "go nodes N" (N from 1 to 2147483647) analyses the position for a game
// review: at full strength whatever the level, sent to the engine as "go
// nodes N" and bounded by nothing else (a clock or movetime beside it is
// ignored), so a single-thread engine whose hash was cleared by "ucinewgame"
// gives the same answer each time. Its "bestmove" line comes right after the
// search's last "info ... score ..." line of its first line (multipv 1),
// passed on as the engine wrote it, e.g.
//   info depth 14 seldepth 20 multipv 1 score cp 31 nodes 300112 ... pv e2e4 e7e5
//   bestmove e2e4
// A position with no legal move is answered "bestmove (none)" at once,
// without a score. A node count that is not a whole number in range is
// reported on standard error and the "go" taken as if it had none.
//
// A search's answer that is not one of the legal moves ("bestmove e2e5" where
// it is illegal, "bestmove e9" or a "bestmove" without a move) is never
// played and never replaced: the search ends with
// "info string error illegal move e2e5" (or "... malformed bestmove <text>",
// "... missing bestmove") instead of a "bestmove" line. The front end takes
// that line as the end of the search and starts this program afresh.
#pragma once

#include "bridge/CCandidateLines.h"
#include "bridge/CLevelPlan.h"
#include "bridge/CStockfish.h"
#include "bridge/GoRequest.h"
#include "chess/Position.h"

#include <map>
#include <mutex>
#include <random>
#include <sstream>
#include <string>
#include <vector>

// Strength settings. The front end sets the level and the think time with
// the UCI options "Level" and "Think Time"; the environment variables
// ABROK_THINK_MS (think time per move, ms) and ABROK_SKILL_LEVEL (the
// engine's "Skill Level", 0..20, in place of the level) override them.
struct BridgeSettings {
  static constexpr int THINK_MS_DEFAULT = 1000;
  static constexpr int THINK_MS_MIN = 100;
  static constexpr int THINK_MS_MAX = 600000;

  int thinkMs = THINK_MS_DEFAULT;
  bool thinkFixed = false; // ABROK_THINK_MS was given: "Think Time" is ignored
  int level = LEVEL_DEFAULT;
  int skillOverride = -1; // ABROK_SKILL_LEVEL, -1 when not given

  // Reads the variables; a value that is not a number in range is reported
  // on standard error and the default kept.
  static BridgeSettings FromEnvironment();
};

class CBridge {
public:
  explicit CBridge(const BridgeSettings &settings) : settings(settings), random(std::random_device{}()) {}

  // Starts the engine. Without it the bridge still answers "uci" (with an
  // "info string error" line saying why) and "isready" and follows the game,
  // but every search is refused with a message on standard error.
  void Start();
  // Handles one line from the front end; false once the bridge must quit.
  bool HandleLine(const std::string &line);
  // Ends a running search and the engine.
  void Quit();

  // The names of the engine's options (empty without an engine).
  const std::set<std::string> &EngineOptions() const { return stockfish.Options(); }

private:
  void AnswerUci();
  void OnSetOption(const std::string &line);
  void OnStop();
  void OnNewGame();
  void OnPosition(std::istringstream &arguments);
  void OnGo(std::istringstream &arguments);
  void OnMove(const std::string &move);
  // Checks a move against the legal moves and plays it; reports a refusal.
  bool PlayMove(const std::string &move);
  // Starts the engine's search for the side to move: the level's bounded
  // search, on the clock if it runs for the side to move, or the minimal one
  // that answers the hand-back of the engine's own move.
  void Search(bool handBack, const SearchClock &clock = SearchClock());
  // A full-strength search whose answer is advice, not the engine's move:
  // the front end's hint ("go movetime N"), or an analysis of a fixed size
  // ("go nodes N") whose last score comes before its answer (reportScore).
  void Analyse(const std::string &goCommand, bool reportScore);
  // Sets the engine's position to the game and sends the option values that
  // differ from those it has.
  void Prepare(const CLevelPlan &plan);
  // Answers at once when the side to move has no legal move.
  bool AnswerGameOver();
  // Ends a running search before the game changes under it.
  void FinishSearch();
  bool NeedEngine(const std::string &what);
  // Reader thread: passes a search's answer on, as a bare "bestmove" line,
  // or reports a broken one.
  void OnBestMove(const std::string &line);
  // What is wrong with the move of a search's answer; empty if it is legal.
  std::string CheckAnswer(const std::string &move) const;
  // Writes to the front end; both threads write, one at a time.
  void Write(const std::string &text);

  BridgeSettings settings;
  CStockfish stockfish;
  bool haveEngine = false;
  std::string engineProblem;      // why there is no engine, for the front end
  std::string startFen;           // the game's start position; empty for the standard one
  std::vector<std::string> moves; // the game since the start position
  chess::Position board;
  std::map<std::string, std::string> sentOptions; // the engine's option values as last set

  // The running search, read by the reader thread once its answer comes.
  // Set before the search starts and left alone until it has ended.
  CCandidateLines candidates;
  std::vector<std::string> searchMoves; // the moves the answer may be
  int weakenMarginCp = -1;              // >= 0: pick among the candidates
  bool analysing = false;               // the answer is advice
  bool reportingScore = false;          // the answer comes with lastScoreLine
  std::string lastScoreLine;            // the search's last scored info line of its first line
  bool handingBack = false;             // the answer is thrown away
  std::mt19937 random;

  std::mutex outputMutex;
  std::string lastBestMove; // guarded by outputMutex
};
