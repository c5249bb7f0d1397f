// Round trips through the real engine program (Abrok_5_0.exe over Stockfish):
// how long a bare move line takes to its "bestmove" line beyond the think
// time, how long the hand-back of the engine's own move takes to be
// answered, and, for comparison, Stockfish's own overshoot of the think time.
// Reported times are the manual iteration times: the overhead, not the total.
//
// ABROK_THINK_MS (default 1000, the program's default) sets the think time.
#include "platform/Platform.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

const char *const BRIDGE = KELVAR_RUN_DIR "/Abrok_5_0.exe";
const char *const STOCKFISH = "/usr/games/stockfish";
const char *const FIRST_MOVES[] = {"e2e4", "d2d4", "c2c4", "g1f3", "b1c3", "e2e3", "d2d3", "g2g3"};
const int ANSWER_TIMEOUT_MS = 30000;

int ThinkMs() {
  const char *text = getenv("ABROK_THINK_MS");
  return text ? atoi(text) : 1000;
}

// A program on two pipes, spoken to line by line.
class LineChild {
public:
  explicit LineChild(const char *path) { started = child.Start(path); }
  ~LineChild() {
    Send("quit");
    child.ClosePipes();
    child.Stop(2000);
  }

  void Send(const std::string &line) { child.Write((line + "\n").data(), line.size() + 1); }

  // Reads lines until one starts with prefix; returns it, or "" on time-out.
  std::string WaitFor(const std::string &prefix) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(ANSWER_TIMEOUT_MS);
    for (;;) {
      for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
        const std::string line = pending.substr(0, end);
        pending.erase(0, end + 1);
        if (line.compare(0, prefix.size(), prefix) == 0)
          return line;
      }
      if (child.OutputEnded() || Clock::now() > deadline)
        return "";
      if (child.WaitForOutput(100)) {
        char buffer[512];
        pending.append(buffer, child.Read(buffer, sizeof(buffer)));
      }
    }
  }

  bool started = false;

private:
  platform::ChildProcess child;
  std::string pending;
};

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// A bare move line to the "bestmove" line, minus the think time.
void BM_BridgeMoveOverhead(benchmark::State &state) {
  LineChild bridge(BRIDGE);
  if (!bridge.started)
    return state.SkipWithError("Abrok_5_0.exe cannot be started");
  const double think = ThinkMs() / 1000.0;
  size_t n = 0;
  for (auto _ : state) {
    bridge.Send("position startpos");
    bridge.Send("isready");
    bridge.WaitFor("readyok");
    const Clock::time_point start = Clock::now();
    bridge.Send(FIRST_MOVES[n++ % std::size(FIRST_MOVES)]);
    const std::string answer = bridge.WaitFor("bestmove");
    const double elapsed = Seconds(Clock::now() - start);
    if (answer.empty())
      return state.SkipWithError("no bestmove");
    state.SetIterationTime(elapsed > think ? elapsed - think : 0.0);
    state.counters["answer_bytes"] = double(answer.size() + 1);
  }
  state.counters["think_ms"] = ThinkMs();
}

// The hand-back of the engine's own move to its "bestmove" line.
void BM_BridgeHandBack(benchmark::State &state) {
  LineChild bridge(BRIDGE);
  if (!bridge.started)
    return state.SkipWithError("Abrok_5_0.exe cannot be started");
  size_t n = 0;
  for (auto _ : state) {
    bridge.Send("position startpos");
    bridge.Send(FIRST_MOVES[n++ % std::size(FIRST_MOVES)]);
    const std::string reply = bridge.WaitFor("bestmove");
    if (reply.size() < 13)
      return state.SkipWithError("no bestmove");
    const Clock::time_point start = Clock::now();
    bridge.Send(reply.substr(9));
    const std::string answer = bridge.WaitFor("bestmove");
    const double elapsed = Seconds(Clock::now() - start);
    if (answer.empty())
      return state.SkipWithError("no answer to the hand-back");
    state.SetIterationTime(elapsed);
  }
}

// Stockfish alone, standard UCI: "go movetime" to "bestmove", minus the think time.
void BM_StockfishMoveOverhead(benchmark::State &state) {
  LineChild stockfish(STOCKFISH);
  if (!stockfish.started)
    return state.SkipWithError("Stockfish cannot be started");
  stockfish.Send("uci");
  stockfish.WaitFor("uciok");
  const double think = ThinkMs() / 1000.0;
  size_t n = 0;
  for (auto _ : state) {
    stockfish.Send(std::string("position startpos moves ") + FIRST_MOVES[n++ % std::size(FIRST_MOVES)]);
    stockfish.Send("isready");
    stockfish.WaitFor("readyok");
    const Clock::time_point start = Clock::now();
    stockfish.Send("go movetime " + std::to_string(ThinkMs()));
    const std::string answer = stockfish.WaitFor("bestmove");
    const double elapsed = Seconds(Clock::now() - start);
    if (answer.empty())
      return state.SkipWithError("no bestmove");
    state.SetIterationTime(elapsed > think ? elapsed - think : 0.0);
  }
}

} // namespace

BENCHMARK(BM_BridgeMoveOverhead)->UseManualTime()->Iterations(8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BridgeHandBack)->UseManualTime()->Iterations(8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StockfishMoveOverhead)->UseManualTime()->Iterations(8)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
