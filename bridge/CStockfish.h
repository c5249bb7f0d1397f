// The UCI engine behind the bridge, Stockfish unless another is named: found,
// started and spoken to with standard UCI. A reader thread takes its output line by line, so searches
// run in the background while the bridge goes on answering the front end.
#pragma once

#include "platform/Platform.h"

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
  bool Start(const std::string &path, const BestMoveHandler &onBestMove, const InfoHandler &onInfo = nullptr);

  // Sends one command line (the line feed is added).
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
  bool IsRunning();

  // Tells Stockfish to quit, waits a little for it and ends it otherwise.
  void Quit();

private:
  void ReadLoop();
  void OnLine(const std::string &line);

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
};
