#include "bridge/CStockfish.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <unistd.h>

namespace {

const char *const ENGINE_VARIABLE = "ABROK_ENGINE";
const char *const PATH_VARIABLE = "ABROK_STOCKFISH";
const char *const DEBIAN_PATH = "/usr/games/stockfish";
const int HANDSHAKE_TIMEOUT_MS = 10000; // Stockfish loads its network at start
const int QUIT_TIMEOUT_MS = 1000;
const int READ_POLL_MS = 50; // how often the reader looks whether it must end
const int RESTARTS_PER_MINUTE = 3;
const auto RESTART_WINDOW = std::chrono::minutes(1);
// Longest a command waits for a restart under way: two handshakes per try.
const auto HEAL_WAIT = std::chrono::milliseconds(2 * HANDSHAKE_TIMEOUT_MS * (RESTARTS_PER_MINUTE + 1));

// The process group of the engine running now (0 for none), for the signal
// handler that ends it when this program is told to end.
std::atomic<int> runningEngineGroup{0};
static_assert(std::atomic<int>::is_always_lock_free, "read in a signal handler");

bool IsExecutable(const std::string &path) { return !path.empty() && access(path.c_str(), X_OK) == 0; }

bool StartsWith(const std::string &text, const std::string &prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

const long long SHORTEST_RESUMED_SEARCH_MS = 100;
const long long SHORTEST_RESUMED_CLOCK_MS = 1; // 0 would be no clock at all

// A "go" command with its movetime, wtime and btime cut by the time already
// spent, so a search restarted after a crash ends about when the first would
// have and does not plan with time the clock no longer holds. Only the side
// to move's clock ran; the other one is cut too, which costs nothing but a
// little of the engine's view of its opponent.
std::string WithTimeLeft(const std::string &go, std::chrono::steady_clock::duration spent) {
  const long long spentMs = std::chrono::duration_cast<std::chrono::milliseconds>(spent).count();
  std::istringstream words(go);
  std::string resumed, word, key;
  while (words >> word) {
    if (key == "movetime" || key == "wtime" || key == "btime") {
      const long long floor = key == "movetime" ? SHORTEST_RESUMED_SEARCH_MS : SHORTEST_RESUMED_CLOCK_MS;
      word = std::to_string(std::max(floor, atoll(word.c_str()) - spentMs));
    }
    resumed += (resumed.empty() ? "" : " ") + word;
    key = word;
  }
  return resumed;
}

// The option name of a "setoption name <id> value <x>" line.
std::string OptionName(const std::string &line) {
  const size_t value = line.find(" value");
  return line.substr(0, value);
}

} // namespace

CStockfish::~CStockfish() { Quit(); }

void CStockfish::KillRunningEngine() { platform::KillProcessGroup(runningEngineGroup.load()); }

void CStockfish::EndProcess() {
  runningEngineGroup.store(0);
  process.ClosePipes();
  process.Stop(0); // the engine's whole group: nothing it started is left
}

bool CStockfish::StartProcess() {
  if (!process.Start(path.c_str()))
    return false;
  runningEngineGroup.store(process.Pid());
  return true;
}

void CStockfish::Abandon(const std::string &error) {
  startError = error;
  std::cerr << "Abrok: " << startError << "\n";
  {
    std::lock_guard<std::mutex> lock(mutex);
    stopping = true;
  }
  if (reader.joinable())
    reader.join();
  EndProcess();
}

std::string CStockfish::Locate() {
  const char *engine = getenv(ENGINE_VARIABLE);
  if (engine && *engine)
    return IsExecutable(engine) ? engine : "";
  if (const char *configured = getenv(PATH_VARIABLE))
    return IsExecutable(configured) ? configured : "";
  if (const char *path = getenv("PATH")) {
    std::istringstream folders(path);
    std::string folder;
    while (std::getline(folders, folder, ':'))
      if (!folder.empty() && IsExecutable(folder + "/stockfish"))
        return folder + "/stockfish";
  }
  return IsExecutable(DEBIAN_PATH) ? DEBIAN_PATH : "";
}

bool CStockfish::Start(const std::string &enginePath, const BestMoveHandler &handler, const InfoHandler &infoHandler,
                       const FailureHandler &failureHandler) {
  onBestMove = handler;
  onInfo = infoHandler;
  onFailure = failureHandler;
  path = enginePath;
  if (!StartProcess()) {
    startError = "the engine at " + path + " cannot be started";
    std::cerr << "Abrok: " << startError << "\n";
    return false;
  }
  running = true;
  reader = std::thread(&CStockfish::ReadLoop, this);

  std::vector<std::string> lines;
  if (!Request("uci", "uciok", HANDSHAKE_TIMEOUT_MS, lines)) {
    Abandon("the engine at " + path + " did not answer \"uci\"");
    return false;
  }
  for (const std::string &line : lines) {
    if (StartsWith(line, "id "))
      identity.push_back(line);
    // "option name <name, may hold blanks> type <kind> ..."
    const size_t type = line.find(" type ");
    if (StartsWith(line, "option name ") && type != std::string::npos)
      options.insert(line.substr(12, type - 12));
  }
  if (!Request("isready", "readyok", HANDSHAKE_TIMEOUT_MS, lines)) {
    Abandon("the engine at " + path + " did not answer \"isready\"");
    return false;
  }
  std::lock_guard<std::mutex> lock(mutex);
  startedWell = running;
  return startedWell;
}

void CStockfish::Remember(const std::string &commands) {
  std::istringstream lines(commands);
  std::string line;
  while (std::getline(lines, line)) {
    if (StartsWith(line, "position ")) {
      position = line;
    } else if (StartsWith(line, "setoption name ")) {
      const std::string name = OptionName(line);
      bool replaced = false;
      for (std::string &option : optionLines)
        if (OptionName(option) == name) {
          option = line;
          replaced = true;
        }
      if (!replaced)
        optionLines.push_back(line);
    }
  }
}

void CStockfish::Send(const std::string &command) {
  std::unique_lock<std::mutex> lock(mutex);
  changed.wait_for(lock, HEAL_WAIT, [this] { return !healing; });
  Remember(command);
  Write(command + "\n");
}

void CStockfish::Write(const std::string &text) { process.Write(text.data(), text.size()); }

bool CStockfish::Request(const std::string &commands, const std::string &endPrefix, int timeoutMs,
                         std::vector<std::string> &lines) {
  {
    std::lock_guard<std::mutex> lock(mutex);
    requesting = true;
    requestDone = false;
    requestEnd = endPrefix;
    requestCommands = commands;
    requestLines.clear();
  }
  Send(commands);
  std::unique_lock<std::mutex> lock(mutex);
  changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                   [this] { return requestDone || (!running && !healing); });
  requesting = false;
  lines.swap(requestLines);
  return requestDone;
}

void CStockfish::StartSearch(const std::string &goCommand) {
  {
    std::lock_guard<std::mutex> lock(mutex);
    searching = true;
    searchCommand = goCommand;
    searchStart = std::chrono::steady_clock::now();
  }
  Send(goCommand);
}

bool CStockfish::IsSearching() {
  std::lock_guard<std::mutex> lock(mutex);
  return searching;
}

void CStockfish::StopSearch() {
  if (IsSearching())
    Send("stop");
}

bool CStockfish::FinishSearch(int timeoutMs) {
  if (!IsSearching())
    return true;
  Send("stop");
  std::unique_lock<std::mutex> lock(mutex);
  const bool done = changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                     [this] { return !searching || (!running && !healing); });
  searching = false;
  return done && running;
}

bool CStockfish::IsRunning() {
  std::unique_lock<std::mutex> lock(mutex);
  changed.wait_for(lock, HEAL_WAIT, [this] { return !healing; });
  return running;
}

int CStockfish::RestartCount() {
  std::lock_guard<std::mutex> lock(mutex);
  return restartCount;
}

void CStockfish::Quit() {
  if (!process.IsStarted() && !reader.joinable())
    return;
  {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait_for(lock, HEAL_WAIT, [this] { return !healing; });
    quitting = true;
    Write("quit\n");
    changed.wait_for(lock, std::chrono::milliseconds(QUIT_TIMEOUT_MS), [this] { return !running; });
    stopping = true;
  }
  if (reader.joinable())
    reader.join();
  runningEngineGroup.store(0);
  process.ClosePipes();
  process.Stop(QUIT_TIMEOUT_MS);
}

bool CStockfish::NextLine(std::string &line, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  char buffer[4096];
  for (;;) {
    const size_t end = pending.find('\n');
    if (end != std::string::npos) {
      line = pending.substr(0, end);
      pending.erase(0, end + 1);
      if (!line.empty() && line.back() == '\r')
        line.pop_back();
      return true;
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    if (left <= 0 || !process.WaitForOutput(int(left)))
      return false;
    const size_t count = process.Read(buffer, sizeof(buffer));
    if (count == 0 && process.OutputEnded())
      return false;
    pending.append(buffer, count);
  }
}

bool CStockfish::AwaitLine(const std::string &prefix, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  std::string line;
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    if (left <= 0 || !NextLine(line, int(left)))
      return false;
    if (StartsWith(line, prefix))
      return true;
  }
}

void CStockfish::ReadLoop() {
  std::string line;
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(mutex);
      if (stopping)
        return;
    }
    if (NextLine(line, READ_POLL_MS)) {
      OnLine(line);
      continue;
    }
    if (!process.OutputEnded())
      continue;
    bool heal = false;
    {
      std::lock_guard<std::mutex> lock(mutex);
      // Only a Stockfish that once started well is started again; one that
      // fails its first start is reported by Start.
      heal = !quitting && startedWell;
      running = false;
      healing = heal;
      changed.notify_all();
    }
    if (!heal || !Heal())
      return;
  }
}

bool CStockfish::Relaunch() {
  EndProcess();
  pending.clear();
  if (!StartProcess())
    return false;
  Write("uci\n");
  if (!AwaitLine("uciok", HANDSHAKE_TIMEOUT_MS))
    return false;
  std::lock_guard<std::mutex> lock(mutex);
  for (const std::string &option : optionLines)
    Write(option + "\n");
  Write("isready\n");
  return true;
}

bool CStockfish::Heal() {
  for (;;) {
    const auto now = std::chrono::steady_clock::now();
    std::vector<std::chrono::steady_clock::time_point> recent;
    for (const auto &at : restarts)
      if (now - at < RESTART_WINDOW)
        recent.push_back(at);
    restarts.swap(recent);
    if (int(restarts.size()) >= RESTARTS_PER_MINUTE) {
      const std::string reason = "Stockfish ended " + std::to_string(restarts.size() + 1) + " times within a minute";
      std::cerr << "Abrok: " << reason << "; given up\n";
      EndProcess();
      {
        std::lock_guard<std::mutex> lock(mutex);
        healing = false;
        searching = false;
        changed.notify_all();
      }
      if (onFailure)
        onFailure(reason);
      return false;
    }
    restarts.push_back(now);
    std::cerr << "Abrok: Stockfish has ended; starting it again\n";
    if (!Relaunch() || !AwaitLine("readyok", HANDSHAKE_TIMEOUT_MS))
      continue;

    // The position first, then whatever was under way when it ended: the
    // search starts again from scratch, a request is asked again.
    std::lock_guard<std::mutex> lock(mutex);
    if (!position.empty())
      Write(position + "\n");
    if (searching)
      Write(WithTimeLeft(searchCommand, std::chrono::steady_clock::now() - searchStart) + "\n");
    if (requesting && !requestDone) {
      requestLines.clear();
      Write(requestCommands + "\n");
    }
    ++restartCount;
    running = true;
    healing = false;
    changed.notify_all();
    return true;
  }
}

void CStockfish::OnLine(const std::string &line) {
  std::lock_guard<std::mutex> lock(mutex);
  if (StartsWith(line, "bestmove")) {
    // A search that was given up is not answered late.
    if (searching) {
      searching = false;
      if (onBestMove)
        onBestMove(line);
      changed.notify_all();
    }
    return;
  }
  if (searching && onInfo && StartsWith(line, "info "))
    onInfo(line);
  if (requesting && !requestDone) {
    requestLines.push_back(line);
    if (StartsWith(line, requestEnd)) {
      requestDone = true;
      changed.notify_all();
    }
  }
}
