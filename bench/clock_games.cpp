// Games on a chess clock: the engine program (Abrok_5_0.exe) at a level
// against an opponent off the clock, a second Stockfish searching to a fixed
// depth: at depth 10 (tens of ms a move) it holds out against full strength
// for 100 plies and more, long enough for the engine to get low on time.
// The engine program is spoken to exactly as the game does on a clock: the
// whole game with "position" and "go wtime W btime B [winc I binc I]
// [movestogo N]" on its turn, then its own move handed back as a bare line
// whose answer is read and thrown away. Its clock is kept by wall time from
// writing the "go" line to reading "bestmove"; a clock that reaches zero is a
// flag. A game is adjudicated unfinished at the ply cap.
//
//   bench_clock_games [--games N] [--levels 8,1] [--time MS] [--inc MS]
//                     [--moves N] [--plies N] [--opponent-depth D]
//
// Defaults: 20 games a level, levels 8 and 1, 1 min + 0 (--moves N gives N
// moves per period, each period --time again), 160 plies, opponent depth 10.
// Per level it prints games, results, flags, the engine's moves, its mean,
// median and longest time per move and the least time it had left. It runs
// in the run folder (KELVAR_RUN_DIR), needs Stockfish and takes CPU for
// minutes: it is not part of the test suite.
#include "bench/UciProgram.h"
#include "bridge/CLevelPlan.h"
#include "bridge/CStockfish.h"
#include "chess/Position.h"
#include "platform/Platform.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using bench_support::Join;
using bench_support::OPENINGS;
using bench_support::PlayText;
using bench_support::Split;

using Clock = std::chrono::steady_clock;

const char *const ENGINE_PROGRAM = "./Abrok_5_0.exe";
const int START_TIMEOUT_MS = 30000; // Stockfish loads its network at start
const int HAND_BACK_TIMEOUT_MS = 10000;
const int ANSWER_GRACE_MS = 30000; // waited past a flag, to see the answer come at all
const int FIFTY_MOVES = 100;       // half-moves without capture or pawn move

// The openings are played off the clock.
struct Options {
  int games = 20;
  std::vector<int> levels = {8, 1};
  long long timeMs = 60000;
  long long incMs = 0;
  int periodMoves = 0; // 0: sudden death
  int maxPlies = 160;
  int opponentDepth = 10;
};

// Whole milliseconds since start, a part of one counted as one: the clock
// is never charged less than the time that passed.
long long MsSince(Clock::time_point start) {
  const long long us = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();
  return (us + 999) / 1000;
}

std::string LoadAverage() {
  std::ifstream file("/proc/loadavg");
  std::string one, five, fifteen;
  file >> one >> five >> fifteen;
  return one + " " + five + " " + fifteen;
}

using Program = bench_support::UciProgram;

// The move of a "bestmove" line; "" if there is none.
std::string MoveOf(const std::string &line) {
  const std::vector<std::string> words = Split(line);
  return words.size() >= 2 && words[0] == "bestmove" ? words[1] : "";
}

// One side's clock: time left, and the moves left in its period.
struct SideClock {
  long long leftMs = 0;
  int movesToGo = 0; // 0: sudden death

  void Reset(const Options &options) {
    leftMs = options.timeMs;
    movesToGo = options.periodMoves;
  }
  // Charges a move that took spentMs; false if the time ran out.
  bool Charge(long long spentMs, const Options &options) {
    leftMs -= spentMs;
    if (leftMs <= 0)
      return false;
    leftMs += options.incMs;
    if (movesToGo > 0 && --movesToGo == 0) {
      leftMs += options.timeMs;
      movesToGo = options.periodMoves;
    }
    return true;
  }
};

enum class Outcome { EngineWon, Draw, EngineLost, Unfinished, Flagged, Broken };

struct LevelFigures {
  int games = 0, wins = 0, draws = 0, losses = 0, unfinished = 0, flags = 0, broken = 0;
  long long plies = 0;
  std::vector<long long> moveMs;
  long long leastLeftMs = LLONG_MAX; // the engine's clock after its move, before any increment
};

// The "go" line of the front end for the engine's turn.
std::string GoLine(const SideClock &white, const SideClock &black, bool whiteToMove, const Options &options) {
  std::string go = "go wtime " + std::to_string(white.leftMs) + " btime " + std::to_string(black.leftMs);
  if (options.incMs > 0)
    go += " winc " + std::to_string(options.incMs) + " binc " + std::to_string(options.incMs);
  const int movesToGo = whiteToMove ? white.movesToGo : black.movesToGo;
  if (movesToGo > 0)
    go += " movestogo " + std::to_string(movesToGo);
  return go;
}

// Plays one game; the engine's times per move and least time left go to
// figures, the game's length to plies.
Outcome PlayGame(Program &engine, Program &opponent, bool engineWhite, const char *opening, const Options &options,
                 LevelFigures &figures, int &plies) {
  chess::Position board;
  std::vector<std::string> moves;
  std::map<std::uint64_t, int> seen;
  for (const std::string &move : Split(opening)) {
    PlayText(board, move);
    moves.push_back(move);
  }
  SideClock white, black;
  white.Reset(options);
  black.Reset(options);
  engine.Send("ucinewgame");
  opponent.Send("ucinewgame");
  for (;;) {
    plies = int(moves.size());
    const bool whiteToMove = board.GetSideToMove() == chess::White;
    if (!board.HasLegalMove()) {
      if (!board.IsInCheck())
        return Outcome::Draw;
      return whiteToMove == engineWhite ? Outcome::EngineLost : Outcome::EngineWon;
    }
    if (board.GetHalfMoveClock() >= FIFTY_MOVES || ++seen[board.RepetitionKey()] >= 3)
      return Outcome::Draw;
    if (int(moves.size()) >= options.maxPlies)
      return Outcome::Unfinished;

    const std::string position = "position startpos moves " + Join(moves);
    SideClock &mover = whiteToMove ? white : black;
    std::string move;
    if (whiteToMove == engineWhite) {
      engine.Send(position);
      const std::string go = GoLine(white, black, whiteToMove, options);
      const auto start = Clock::now();
      engine.Send(go);
      const std::string answer = engine.ReadLineWith("bestmove", int(mover.leftMs) + ANSWER_GRACE_MS);
      const long long spent = MsSince(start);
      move = MoveOf(answer);
      if (move.empty()) {
        fprintf(stderr, "clock games: no answer to \"%s\" after \"%s\"\n", go.c_str(), position.c_str());
        return Outcome::Broken;
      }
      figures.moveMs.push_back(spent);
      const bool inTime = mover.Charge(spent, options);
      figures.leastLeftMs = std::min(figures.leastLeftMs, inTime ? mover.leftMs - options.incMs : mover.leftMs);
      if (!inTime) {
        fprintf(stderr, "clock games: flagged: %lld ms on \"%s\" after \"%s\"\n", spent, go.c_str(), position.c_str());
        return Outcome::Flagged;
      }
      if (!PlayText(board, move)) {
        fprintf(stderr, "clock games: \"%s\" is not legal after \"%s\"\n", move.c_str(), position.c_str());
        return Outcome::Broken;
      }
      moves.push_back(move);
      // The hand-back: its answer ("bestmove (none)" once the game is over)
      // is waited for and thrown away.
      engine.Send(move);
      if (engine.ReadLineWith("bestmove", HAND_BACK_TIMEOUT_MS).empty()) {
        fprintf(stderr, "clock games: no answer to the hand-back %s\n", move.c_str());
        return Outcome::Broken;
      }
    } else {
      // The opponent plays off the clock: its time stands, its periods count.
      opponent.Send(position);
      opponent.Send("go depth " + std::to_string(options.opponentDepth));
      move = MoveOf(opponent.ReadLineWith("bestmove", HAND_BACK_TIMEOUT_MS));
      mover.Charge(0, options);
      if (!PlayText(board, move)) {
        fprintf(stderr, "clock games: the opponent's \"%s\" is not legal after \"%s\"\n", move.c_str(),
                position.c_str());
        return Outcome::Broken;
      }
      moves.push_back(move);
    }
  }
}

std::vector<int> ParseLevels(const std::string &text) {
  std::vector<int> levels;
  std::istringstream items(text);
  for (std::string item; std::getline(items, item, ',');)
    if (!item.empty())
      levels.push_back(atoi(item.c_str()));
  return levels;
}

void PrintFigures(int level, const LevelFigures &f) {
  std::vector<long long> sorted = f.moveMs;
  std::sort(sorted.begin(), sorted.end());
  double mean = 0;
  for (long long ms : sorted)
    mean += double(ms);
  mean = sorted.empty() ? 0 : mean / double(sorted.size());
  const long long median = sorted.empty() ? 0 : sorted[sorted.size() / 2];
  const long long longest = sorted.empty() ? 0 : sorted.back();
  const std::string results = std::to_string(f.wins) + "/" + std::to_string(f.draws) + "/" + std::to_string(f.losses);
  const std::string least = f.leastLeftMs == LLONG_MAX ? "-" : std::to_string(f.leastLeftMs);
  printf("%-5d %-14s %5d %-8s %10d %5d %6d %9.1f %7zu %8.1f %8lld %8lld %10s\n", level, LevelName(level), f.games,
         results.c_str(), f.unfinished, f.flags, f.broken, f.games ? double(f.plies) / f.games : 0.0, sorted.size(),
         mean, median, longest, least.c_str());
}

} // namespace

int main(int argc, char **argv) {
  Options options;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    const char *value = argv[i + 1];
    if (name == "--games")
      options.games = atoi(value);
    else if (name == "--levels")
      options.levels = ParseLevels(value);
    else if (name == "--time")
      options.timeMs = atoll(value);
    else if (name == "--inc")
      options.incMs = atoll(value);
    else if (name == "--moves")
      options.periodMoves = atoi(value);
    else if (name == "--plies")
      options.maxPlies = atoi(value);
    else if (name == "--opponent-depth")
      options.opponentDepth = atoi(value);
    else {
      fprintf(stderr, "clock games: unknown option %s\n", argv[i]);
      return 2;
    }
  }
#ifdef KELVAR_RUN_DIR
  if (chdir(KELVAR_RUN_DIR) != 0)
    perror(KELVAR_RUN_DIR);
#endif
  unsetenv("ABROK_THINK_MS"); // each level's own think time
  unsetenv("ABROK_SKILL_LEVEL");
  setvbuf(stdout, nullptr, _IOLBF, 0);
  const std::string stockfish = CStockfish::Locate();
  if (stockfish.empty()) {
    fprintf(stderr, "clock games: Stockfish is needed for the opponent\n");
    return 1;
  }

  printf("clock games: %d a level, %lld ms + %lld ms%s, cap %d plies, opponent Stockfish depth %d\n", options.games,
         options.timeMs, options.incMs,
         options.periodMoves > 0 ? (" per " + std::to_string(options.periodMoves) + " moves").c_str() : "",
         options.maxPlies, options.opponentDepth);
  printf("load average at start: %s\n", LoadAverage().c_str());
  std::vector<std::pair<int, LevelFigures>> results;
  for (const int level : options.levels) {
    Program engine, opponent;
    if (!engine.Start(ENGINE_PROGRAM, {"setoption name Level value " + std::to_string(level)}, START_TIMEOUT_MS) ||
        !opponent.Start(stockfish.c_str(), {"uci"}, START_TIMEOUT_MS)) {
      fprintf(stderr, "clock games: the engine program or the opponent did not start\n");
      return 1;
    }
    LevelFigures figures;
    for (int game = 0; game < options.games; ++game) {
      const bool engineWhite = game % 2 == 0;
      const char *opening = OPENINGS[(game / 2) % (sizeof(OPENINGS) / sizeof(OPENINGS[0]))];
      const size_t movesBefore = figures.moveMs.size();
      int plies = 0;
      const Outcome outcome = PlayGame(engine, opponent, engineWhite, opening, options, figures, plies);
      ++figures.games;
      figures.plies += plies;
      const char *result = "";
      switch (outcome) {
      case Outcome::EngineWon:
        ++figures.wins;
        result = "won";
        break;
      case Outcome::Draw:
        ++figures.draws;
        result = "drawn";
        break;
      case Outcome::EngineLost:
        ++figures.losses;
        result = "lost";
        break;
      case Outcome::Unfinished:
        ++figures.unfinished;
        result = "unfinished";
        break;
      case Outcome::Flagged:
        ++figures.flags;
        result = "FLAGGED";
        break;
      case Outcome::Broken:
        ++figures.broken;
        result = "broken";
        break;
      }
      long long used = 0;
      for (size_t i = movesBefore; i < figures.moveMs.size(); ++i)
        used += figures.moveMs[i];
      printf("level %d game %2d (%s): %-10s %3d plies, %3zu engine moves, %6lld ms used\n", level, game + 1,
             engineWhite ? "white" : "black", result, plies, figures.moveMs.size() - movesBefore, used);
    }
    results.emplace_back(level, figures);
  }
  printf("load average at end: %s\n", LoadAverage().c_str());
  printf("%-5s %-14s %5s %-8s %10s %5s %6s %9s %7s %8s %8s %8s %10s\n", "level", "name", "games", "W/D/L", "unfinished",
         "flags", "broken", "avg plies", "moves", "mean ms", "median", "max ms", "least left");
  for (const auto &[level, figures] : results)
    PrintFigures(level, figures);
  return 0;
}
