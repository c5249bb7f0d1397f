// Games through the engine link against the real engine program and
// Stockfish while faults are injected at random moments: the engine program
// killed (SIGKILL), its Stockfish killed, or the engine program frozen
// (SIGSTOP) until the link gives up on it. The human's side is a random mover
// whose legal moves come from a Stockfish of its own ("go perft 1").
//
// Reported: faults injected, games completed, moves lost (the link's game
// record differs from the moves actually played), games stuck (no answer
// within a minute), engine restarts, and the longest frame (one Update of
// the link) overall and while a restart was under way.
//
// KELVAR_FAULT_GAMES (default 6) sets the number of games, ABROK_THINK_MS
// (default 100 here) the engine's think time.
#include "app/CApplication.h"
#include "platform/Platform.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// The benchmark's own door into the link: shorter hang limits keep the run
// short, and a larger restart budget lets faults come faster than three a
// minute (the budget itself is a unit-tested rule).
struct CCEManagerProbe {
  static void Configure(CCEManager &engine) {
    EngineTimings &timings = engine.watch.Timings();
    timings.searchGraceMs = 3000;
    timings.readyMs = 3000;
    timings.restartsPerWindow = 1000;
    timings.moveFaultsPerWindow = 1000;
  }
  static int EnginePid(const CCEManager &engine) { return engine.process.Pid(); }
};

namespace {

const char *const STOCKFISH = "/usr/games/stockfish";
const int PLY_LIMIT = 60; // a game ends as a draw after this many moves
const auto STUCK_AFTER = std::chrono::seconds(60);
const int FRAME_SLEEP_MS = 5;             // between frames, as a light frame loop
const int STOCKFISH_KILLS_PER_MINUTE = 3; // the engine program gives up on the fourth

// Lists the legal moves of a position with a Stockfish of its own.
class MoveLister {
public:
  MoveLister() { started = child.Start(STOCKFISH); }
  ~MoveLister() {
    child.Write("quit\n", 5);
    child.ClosePipes();
    child.Stop(1000);
  }

  std::vector<std::string> LegalMoves(const std::vector<std::string> &moves) {
    std::string command = "position startpos";
    if (!moves.empty()) {
      command += " moves";
      for (const std::string &move : moves)
        command += " " + move;
    }
    command += "\ngo perft 1\n";
    child.Write(command.data(), command.size());
    std::vector<std::string> legal;
    for (std::string line; ReadLine(line) && line.rfind("Nodes searched", 0) != 0;) {
      const size_t colon = line.find(':');
      if (colon == 4 || colon == 5)
        legal.push_back(line.substr(0, colon));
    }
    return legal;
  }

  bool started = false;

private:
  bool ReadLine(std::string &line) {
    for (;;) {
      const size_t end = pending.find('\n');
      if (end != std::string::npos) {
        line = pending.substr(0, end);
        pending.erase(0, end + 1);
        return true;
      }
      if (!child.WaitForOutput(10000))
        return false;
      char buffer[4096];
      const size_t count = child.Read(buffer, sizeof(buffer));
      if (count == 0 && child.OutputEnded())
        return false;
      pending.append(buffer, count);
    }
  }

  platform::ChildProcess child;
  std::string pending;
};

// The children of pid from the process table.
std::vector<int> ChildrenOf(int parentPid) {
  std::vector<int> children;
  for (const auto &entry : fs::directory_iterator("/proc")) {
    std::ifstream stat(entry.path() / "stat");
    std::string pid, name, state, parent;
    if (stat >> pid >> name >> state >> parent && parent == std::to_string(parentPid))
      children.push_back(std::stoi(pid));
  }
  return children;
}

struct Totals {
  int faults = 0;
  int kinds[3] = {0, 0, 0}; // engine program killed, Stockfish killed, engine program frozen
  int games = 0;
  int movesLost = 0;
  int stuck = 0;
  double longestFrameMs = 0;
  double longestRestartFrameMs = 0;
};

class FaultRun {
public:
  FaultRun(Totals &totals, unsigned seed) : totals(totals), random(seed) {}

  // One frame of the link; its time is counted, as a restart's when one runs.
  void Frame() {
    const int restartsBefore = app.engine.GetRestartCount();
    const bool restarting = app.engine.GetState() != CCEManager::LinkState::Ready;
    const Clock::time_point start = Clock::now();
    app.engine.Update();
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    totals.longestFrameMs = std::max(totals.longestFrameMs, ms);
    if (restarting || restartsBefore != app.engine.GetRestartCount())
      totals.longestRestartFrameMs = std::max(totals.longestRestartFrameMs, ms);
    platform::Sleep(FRAME_SLEEP_MS);
  }

  // Runs frames until the engine's answer arrives, injecting a fault at the
  // chosen moment. False if none came in time.
  bool AwaitResult(BoardSquare &from, BoardSquare &to, bool injectFault) {
    const Clock::time_point start = Clock::now();
    const auto faultAt = start + std::chrono::milliseconds(std::uniform_int_distribution<int>(0, 150)(random));
    while (Clock::now() - start < STUCK_AFTER) {
      if (injectFault && Clock::now() >= faultAt) {
        Inject();
        injectFault = false;
      }
      Frame();
      if (app.engine.ProcessEngineResult(from, to))
        return true;
      if (app.engine.GetState() == CCEManager::LinkState::Failed)
        return false;
    }
    return false;
  }

  // Plays one game: the random mover has White. A side without a legal move
  // ends the game (the engine then answers "bestmove (none)", no move).
  void PlayGame(MoveLister &lister) {
    app.engine.Reset();
    std::vector<std::string> played;
    std::bernoulli_distribution faultNow(0.12);
    std::vector<std::string> legal = lister.LegalMoves(played);
    for (int ply = 0; ply < PLY_LIMIT && !legal.empty(); ply += 2) {
      const std::string human = legal[std::uniform_int_distribution<size_t>(0, legal.size() - 1)(random)];
      played.push_back(human);
      SubmitText(human);
      const std::vector<std::string> replies = lister.LegalMoves(played);
      if (replies.empty())
        break;
      BoardSquare from, to;
      if (!AwaitResult(from, to, faultNow(random))) {
        ++totals.stuck;
        return;
      }
      std::string reply = Text(from) + Text(to);
      if (std::find(replies.begin(), replies.end(), reply) == replies.end())
        reply += "q"; // the rules promote to a queen
      if (std::find(replies.begin(), replies.end(), reply) == replies.end()) {
        ++totals.movesLost; // an answer that is no legal move: the game is out of step
        return;
      }
      played.push_back(reply);
      SubmitText(reply); // the hand-back; its answer is dropped
      legal = lister.LegalMoves(played);
      if (!legal.empty() && !AwaitResult(from, to, faultNow(random))) {
        ++totals.stuck;
        return;
      }
    }
    // Every move played must be in the link's record, in order.
    const std::vector<std::string> &record = app.engine.GetMoves();
    for (size_t i = 0; i < played.size(); ++i)
      if (i >= record.size() || record[i] != played[i])
        ++totals.movesLost;
    ++totals.games;
  }

private:
  static std::string Text(const BoardSquare &square) { return {char('a' + square.X), char('1' + square.Y)}; }

  static void SubmitText(const std::string &move) {
    app.engine.SubmitMove(BoardSquare(move[0] - 'a', move[1] - '1'), BoardSquare(move[2] - 'a', move[3] - '1'),
                          move.size() == 5);
  }

  // One fault of a random kind at the engine program or its Stockfish.
  void Inject() {
    const int bridge = CCEManagerProbe::EnginePid(app.engine);
    if (bridge <= 0)
      return;
    const Clock::time_point now = Clock::now();
    while (!stockfishKills.empty() && now - stockfishKills.front() > std::chrono::minutes(1))
      stockfishKills.erase(stockfishKills.begin());
    if (bridge != stockfishBridge) {
      stockfishBridge = bridge; // a new engine program starts a new Stockfish budget
      stockfishKills.clear();
    }
    int kind = std::uniform_int_distribution<int>(0, 2)(random);
    if (kind == 1 && int(stockfishKills.size()) >= STOCKFISH_KILLS_PER_MINUTE - 1)
      kind = 0;
    if (kind == 0) {
      kill(bridge, SIGKILL);
    } else if (kind == 1) {
      const std::vector<int> children = ChildrenOf(bridge);
      if (children.empty())
        return;
      kill(children[0], SIGKILL);
      stockfishKills.push_back(now);
    } else {
      kill(bridge, SIGSTOP); // ended by the link once it counts as hung
    }
    ++totals.faults;
    ++totals.kinds[kind];
  }

  Totals &totals;
  std::mt19937 random;
  std::vector<Clock::time_point> stockfishKills;
  int stockfishBridge = -1;
};

void BM_GamesUnderFaults(benchmark::State &state) {
  const char *gamesText = getenv("KELVAR_FAULT_GAMES");
  const int games = gamesText ? atoi(gamesText) : 6;
  setenv("ABROK_THINK_MS", getenv("ABROK_THINK_MS") ? getenv("ABROK_THINK_MS") : "100", 1);
  const fs::path previous = fs::current_path();
  fs::current_path(KELVAR_RUN_DIR);
  app.device = irr::createDevice(irr::video::EDT_NULL);
  app.guiEnvironment = app.device->getGUIEnvironment();
  app.logger = app.device->getLogger();
  app.logger->setLogLevel(irr::ELL_WARNING); // the link's lines are not the report

  Totals totals;
  for (auto _ : state) {
    MoveLister lister;
    if (!lister.started)
      return state.SkipWithError("Stockfish cannot be started");
    CCEManagerProbe::Configure(app.engine);
    app.engine.Init();
    FaultRun run(totals, 20261207u);
    while (app.engine.GetState() == CCEManager::LinkState::Handshake)
      run.Frame();
    for (int game = 0; game < games; ++game)
      run.PlayGame(lister);
    app.engine.Exit();
  }
  state.counters["faults"] = totals.faults;
  state.counters["games"] = totals.games;
  state.counters["moves_lost"] = totals.movesLost;
  state.counters["stuck"] = totals.stuck;
  state.counters["restarts"] = app.engine.GetRestartCount();
  state.counters["longest_frame_ms"] = totals.longestFrameMs;
  state.counters["longest_restart_frame_ms"] = totals.longestRestartFrameMs;
  printf("engine_faults: %d faults injected (%d engine program killed, %d Stockfish killed, %d engine program "
         "frozen), %d of %d games completed, %d moves lost, %d stuck, %d restarts of the engine program, "
         "longest frame %.2f ms, longest frame during a restart %.2f ms\n",
         totals.faults, totals.kinds[0], totals.kinds[1], totals.kinds[2], totals.games, games, totals.movesLost,
         totals.stuck, app.engine.GetRestartCount(), totals.longestFrameMs, totals.longestRestartFrameMs);
  app.device->drop();
  app.device = nullptr;
  app.logger = nullptr;
  app.guiEnvironment = nullptr;
  fs::current_path(previous);
}

} // namespace

BENCHMARK(BM_GamesUnderFaults)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK_MAIN();
