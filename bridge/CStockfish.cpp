#include "bridge/CStockfish.h"

#include <chrono>
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

bool IsExecutable(const std::string &path) { return !path.empty() && access(path.c_str(), X_OK) == 0; }

bool StartsWith(const std::string &text, const std::string &prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

CStockfish::~CStockfish() { Quit(); }

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

bool CStockfish::Start(const std::string &path, const BestMoveHandler &handler, const InfoHandler &infoHandler) {
  onBestMove = handler;
  onInfo = infoHandler;
  if (!process.Start(path.c_str())) {
    std::cerr << "Abrok: cannot start the engine at " << path << "\n";
    return false;
  }
  running = true;
  reader = std::thread(&CStockfish::ReadLoop, this);

  std::vector<std::string> lines;
  if (!Request("uci", "uciok", HANDSHAKE_TIMEOUT_MS, lines)) {
    std::cerr << "Abrok: the engine at " << path << " did not answer \"uci\"\n";
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
    std::cerr << "Abrok: the engine at " << path << " did not answer \"isready\"\n";
    return false;
  }
  return true;
}

void CStockfish::Send(const std::string &command) {
  const std::string line = command + "\n";
  process.Write(line.data(), line.size());
}

bool CStockfish::Request(const std::string &commands, const std::string &endPrefix, int timeoutMs,
                         std::vector<std::string> &lines) {
  {
    std::lock_guard<std::mutex> lock(mutex);
    requesting = true;
    requestDone = false;
    requestEnd = endPrefix;
    requestLines.clear();
  }
  Send(commands);
  std::unique_lock<std::mutex> lock(mutex);
  changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return requestDone || !running; });
  requesting = false;
  lines.swap(requestLines);
  return requestDone;
}

void CStockfish::StartSearch(const std::string &goCommand) {
  {
    std::lock_guard<std::mutex> lock(mutex);
    searching = true;
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
  const bool done =
      changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return !searching || !running; });
  searching = false;
  return done && running;
}

bool CStockfish::IsRunning() {
  std::lock_guard<std::mutex> lock(mutex);
  return running;
}

void CStockfish::Quit() {
  if (!process.IsStarted())
    return;
  {
    std::lock_guard<std::mutex> lock(mutex);
    quitting = true;
  }
  Send("quit");
  {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait_for(lock, std::chrono::milliseconds(QUIT_TIMEOUT_MS), [this] { return !running; });
    stopping = true;
  }
  if (reader.joinable())
    reader.join();
  process.ClosePipes();
  process.Stop(QUIT_TIMEOUT_MS);
}

void CStockfish::ReadLoop() {
  std::string pending;
  char buffer[4096];
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(mutex);
      if (stopping)
        return;
    }
    if (!process.WaitForOutput(READ_POLL_MS))
      continue;
    const size_t count = process.Read(buffer, sizeof(buffer));
    if (count == 0) {
      if (!process.OutputEnded())
        continue;
      std::lock_guard<std::mutex> lock(mutex);
      running = false;
      if (!quitting)
        std::cerr << "Abrok: the engine has ended\n";
      changed.notify_all();
      return;
    }
    pending.append(buffer, count);
    for (size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1)) {
      std::string line = pending.substr(0, end);
      if (!line.empty() && line.back() == '\r')
        line.pop_back();
      OnLine(line);
    }
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
