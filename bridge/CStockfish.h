// The UCI engine behind the bridge, Stockfish unless another is named: found,
// started and spoken to with standard UCI. A reader thread takes its output line by line, so searches
// run in the background while the bridge goes on answering the front end.
// When Stockfish ends unasked, the reader thread starts it again, gives it
// the options and position it had and restarts the search (for the time it
// had left) or request that was running, at most three times a minute.
// The engine runs in a process group of its own; ending it ends the group,
// so an engine that started processes of its own leaves nothing behind.
#pragma once

#include "platform/Platform.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

class CStockfish {
public:
  // Called on the reader thread with each "bestmove" line of a search.
  using BestMoveHandler = std::function<void(const std::string &line)>;
  // Called on the reader thread with each "info" line of a search.
  using InfoHandler = std::function<void(const std::string &line)>;
  // Called on the reader thread once the engine is given up for good.
  using FailureHandler = std::function<void(const std::string &reason)>;

  CStockfish() = default;
  ~CStockfish();
  CStockfish(const CStockfish &) = delete;
  CStockfish &operator=(const CStockfish &) = delete;

  // Finds the engine: the path in the environment variable ABROK_ENGINE if
  // set and not empty (any UCI engine), else ABROK_STOCKFISH if set (and
  // nothing else then), else "stockfish" on the PATH, else
  // /usr/games/stockfish. Empty if none is executable.
  static std::string Locate();

  // Starts the engine at path and completes its UCI handshake. False, with a
  // message on standard error, if any of it fails.
  bool Start(const std::string &path, const BestMoveHandler &onBestMove, const InfoHandler &onInfo = nullptr,
             const FailureHandler &onFailure = nullptr);
  // Why Start failed, in a few words.
  const std::string &StartError() const { return startError; }

  // Sends one command line (the line feed is added); options and positions
  // are kept to be given again to a restarted Stockfish. Waits while
  // Stockfish is being restarted.
  void Send(const std::string &command);

  // Sends commands, then collects Stockfish's lines until one begins with
  // endPrefix (that one included). False if it did not come within timeoutMs
  // or Stockfish ended. No search may be running.
  bool Request(const std::string &commands, const std::string &endPrefix, int timeoutMs,
               std::vector<std::string> &lines);

  // Sends a "go" command whose "bestmove" line goes to the handler.
  void StartSearch(const std::string &goCommand);
  bool IsSearching();
  // Sends "stop" to a running search; nothing if none runs.
  void StopSearch();
  // Stops a running search and waits until its "bestmove" line has been
  // handled. False if it did not come within timeoutMs (the search is then
  // given up and a late answer dropped).
  bool FinishSearch(int timeoutMs);

  // The "id" lines of the engine's handshake.
  const std::vector<std::string> &Identity() const { return identity; }
  // The names of the options the engine listed in its handshake.
  const std::set<std::string> &Options() const { return options; }
  // True if the engine runs; waits for a restart under way to end first.
  bool IsRunning();
  // How often Stockfish has been started again.
  int RestartCount();

  // Tells Stockfish to quit, waits a little for it and ends it otherwise.
  void Quit();

  // Kills the process group of the engine running now, if any. Safe in a
  // signal handler: this program's SIGTERM handler ends its engine with it.
  static void KillRunningEngine();

private:
  // Starts the process at path and notes its group for KillRunningEngine.
  bool StartProcess();
  // Ends the process and its whole group at once.
  void EndProcess();
  // A start that failed: notes why, ends the reader thread and the engine.
  void Abandon(const std::string &error);
  void ReadLoop();
  void OnLine(const std::string &line);
  // The next complete line of output within timeoutMs; false on time-out or
  // at the end of output. Reader thread only.
  bool NextLine(std::string &line, int timeoutMs);
  // Reads lines until one starts with prefix; false on time-out or end of output.
  bool AwaitLine(const std::string &prefix, int timeoutMs);
  // Reader thread, after Stockfish ended unasked: starts it again and gives
  // it back what it had. False once it has been given up.
  bool Heal();
  // Starts the process and completes the handshake; the reader thread reads.
  bool Relaunch();
  void Write(const std::string &text);
  // Keeps option and position lines of commands for a restart.
  void Remember(const std::string &commands);

  platform::ChildProcess process;
  std::thread reader;
  std::mutex mutex;
  std::condition_variable changed;
  bool running = false;  // Stockfish's output is still open
  bool quitting = false; // "quit" has been sent: the end is expected
  bool stopping = false; // the reader thread is asked to end
  bool searching = false;
  bool requesting = false;
  bool requestDone = false;
  std::string requestEnd;
  std::vector<std::string> requestLines;
  std::vector<std::string> identity;
  std::set<std::string> options;
  BestMoveHandler onBestMove;
  InfoHandler onInfo;
  FailureHandler onFailure;
  std::string startError;

  // What a restarted engine is given again (guarded by mutex).
  std::string path;
  std::vector<std::string> optionLines; // "setoption" lines, the last per name
  std::string position;                 // the last "position" line
  std::string searchCommand;            // the "go" of the running search
  std::chrono::steady_clock::time_point searchStart;
  std::string requestCommands; // the commands of the running request
  bool healing = false;        // the reader thread is restarting the engine
  bool startedWell = false;    // Start succeeded: a later end is healed
  std::vector<std::chrono::steady_clock::time_point> restarts;
  int restartCount = 0;
  std::string pending; // output not yet a whole line (reader thread)
};
