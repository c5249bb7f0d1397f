// The strength ladder: engine-against-engine matches through two engine
// programs (Abrok_5_0.exe), one per side, each set to a level with the UCI
// option Level. Colours alternate and the games start from a few varied
// openings. It prints the score of every level against the level below, of
// level 1 against a random legal mover and of level 1 against level 3.
//
//   bench_strength_ladder [--games N] [--think MS] [--pairs 2-1,1-R,...]
//
// Defaults: 20 games a pair, 100 ms a move, every pair. It runs in the run
// folder (KELVAR_RUN_DIR) and needs Stockfish; it takes CPU for minutes.
#include "bench/UciProgram.h"
#include "bridge/CLevelPlan.h"
#include "chess/Position.h"
#include "platform/Platform.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using bench_support::Join;
using bench_support::OPENINGS;
using bench_support::PlayText;
using bench_support::Split;

const char *const ENGINE_PROGRAM = "./Abrok_5_0.exe";
const int RANDOM_MOVER = 0; // the "level" of the random legal mover
const int MAX_PLIES = 240;  // a longer game is scored a draw
const int REPLY_TIMEOUT_MS = 60000;
const int FIFTY_MOVES = 100; // half-moves without capture or pawn move

// One engine program on its pipes.
class EngineProgram {
public:
  bool Start(int level, int thinkMs) {
    return program.Start(ENGINE_PROGRAM,
                         {"setoption name Level value " + std::to_string(level),
                          "setoption name Think Time value " + std::to_string(thinkMs)},
                         REPLY_TIMEOUT_MS);
  }

  void Send(const std::string &line) { program.Send(line); }

  // The engine's move in this game; "" if it has none or did not answer.
  std::string Move(const std::vector<std::string> &moves) {
    program.Send("position startpos" + (moves.empty() ? std::string() : " moves " + Join(moves)));
    program.Send("go");
    const std::string line = program.ReadLineWith("bestmove", REPLY_TIMEOUT_MS);
    return line.size() > 9 ? line.substr(9) : "";
  }

private:
  bench_support::UciProgram program;
};

// 1 if white wins, 0 if black wins, 0.5 for a draw; -1 if a side failed.
double PlayGame(EngineProgram *white, EngineProgram *black, const char *opening, std::mt19937 &random, int &plies) {
  chess::Position board;
  std::vector<std::string> moves;
  std::map<std::uint64_t, int> seen;
  for (const std::string &move : Split(opening)) {
    PlayText(board, move);
    moves.push_back(move);
  }
  for (EngineProgram *program : {white, black})
    if (program)
      program->Send("ucinewgame");
  for (;;) {
    plies = int(moves.size());
    const std::vector<chess::Move> legal = board.LegalMoves();
    const bool whiteToMove = board.GetSideToMove() == chess::White;
    if (legal.empty())
      return board.IsInCheck() ? (whiteToMove ? 0.0 : 1.0) : 0.5;
    if (board.GetHalfMoveClock() >= FIFTY_MOVES || ++seen[board.RepetitionKey()] >= 3 || plies >= MAX_PLIES)
      return 0.5;
    EngineProgram *side = whiteToMove ? white : black;
    std::string move;
    if (side) {
      move = side->Move(moves);
    } else {
      std::uniform_int_distribution<size_t> pick(0, legal.size() - 1);
      move = legal[pick(random)].ToUci();
    }
    if (!PlayText(board, move)) {
      fprintf(stderr, "ladder: \"%s\" is not legal after \"%s\"\n", move.c_str(), Join(moves).c_str());
      return -1;
    }
    moves.push_back(move);
  }
}

struct Pair {
  int upper; // the side whose score is printed
  int lower; // RANDOM_MOVER for the random legal mover
};

std::string Name(int level) { return level == RANDOM_MOVER ? "random" : std::to_string(level); }

std::unique_ptr<EngineProgram> StartSide(int level, int thinkMs) {
  if (level == RANDOM_MOVER)
    return nullptr;
  auto program = std::make_unique<EngineProgram>();
  if (!program->Start(level, thinkMs)) {
    fprintf(stderr, "ladder: the engine program did not start at level %d\n", level);
    exit(1);
  }
  return program;
}

std::vector<Pair> ParsePairs(const std::string &text) {
  std::vector<Pair> pairs;
  std::istringstream items(text);
  for (std::string item; std::getline(items, item, ',');) {
    const size_t dash = item.find('-');
    if (dash == std::string::npos)
      continue;
    const std::string lower = item.substr(dash + 1);
    pairs.push_back({atoi(item.substr(0, dash).c_str()), lower == "R" ? RANDOM_MOVER : atoi(lower.c_str())});
  }
  return pairs;
}

} // namespace

int main(int argc, char **argv) {
  int games = 20, thinkMs = 100;
  std::vector<Pair> pairs;
  for (int level = LEVEL_MIN + 1; level <= LEVEL_MAX; ++level)
    pairs.push_back({level, level - 1});
  pairs.push_back({1, RANDOM_MOVER});
  pairs.push_back({1, 3});
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!strcmp(argv[i], "--games"))
      games = atoi(argv[i + 1]);
    else if (!strcmp(argv[i], "--think"))
      thinkMs = atoi(argv[i + 1]);
    else if (!strcmp(argv[i], "--pairs"))
      pairs = ParsePairs(argv[i + 1]);
  }
#ifdef KELVAR_RUN_DIR
  if (chdir(KELVAR_RUN_DIR) != 0)
    perror(KELVAR_RUN_DIR);
#endif
  unsetenv("ABROK_THINK_MS"); // the think time is the ladder's
  unsetenv("ABROK_SKILL_LEVEL");
  setvbuf(stdout, nullptr, _IOLBF, 0);

  std::mt19937 random(12345);
  printf("strength ladder: %d games a pair, %d ms a move\n", games, thinkMs);
  printf("%-8s %-8s %6s %6s %6s %7s %9s\n", "level", "against", "wins", "draws", "losses", "score", "avg plies");
  for (const Pair &pair : pairs) {
    auto upper = StartSide(pair.upper, thinkMs);
    auto lower = StartSide(pair.lower, thinkMs);
    int wins = 0, draws = 0, losses = 0, totalPlies = 0, played = 0;
    for (int game = 0; game < games; ++game) {
      const bool upperWhite = game % 2 == 0;
      const char *opening = OPENINGS[(game / 2) % (sizeof(OPENINGS) / sizeof(OPENINGS[0]))];
      int plies = 0;
      const double result = upperWhite ? PlayGame(upper.get(), lower.get(), opening, random, plies)
                                       : PlayGame(lower.get(), upper.get(), opening, random, plies);
      if (result < 0)
        continue;
      const double score = upperWhite ? result : 1.0 - result;
      (score == 1.0 ? wins : score == 0.0 ? losses : draws)++;
      totalPlies += plies;
      ++played;
    }
    const double percent = played ? 100.0 * (wins + 0.5 * draws) / played : 0.0;
    printf("%-8s %-8s %6d %6d %6d %6.1f%% %9d\n", Name(pair.upper).c_str(), Name(pair.lower).c_str(), wins, draws,
           losses, percent, played ? totalPlies / played : 0);
  }
  return 0;
}
