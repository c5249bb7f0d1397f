// The playing levels on the Elo scale. Each level (an engine program,
// Abrok_5_0.exe, set with the UCI option Level) plays matches against anchors
// of known rating: Stockfish 15.1 started directly (Threads 1, Hash 16) with
// UCI_LimitStrength and UCI_Elo, whose range is 1350..2850. A level in that
// range plays one anchor on either side of it; its rating combines the two.
// A level below the range is rated through its score against the level above
// it (or, for the top level beyond the range, against the level below). Both
// sides get the same think time a move ("go movetime"). Colours alternate;
// each pair of games starts from one of twenty short openings.
//
//   bench_level_elo [--games N] [--think MS] [--pairs 8-E2850,3-2,...]
//                   [--from FILE ...]
//
// A pair is "<level>-E<UCI_Elo>" (a level against an anchor) or
// "<level>-<level>". Every finished match prints a "result" line; --from reads
// such lines from earlier runs (matches of the same pair are added up), so the
// table can be made from runs done one at a time. With --from and no --pairs
// nothing is played. bench/results/level_elo.txt keeps the result lines the
// levels' ratings (engine/LevelRatings.cpp) are made from.
//
// The table gives each level's estimate, its 95% error bar, the games it
// rests on and its gap to the level below.
//
// Stockfish's UCI_Elo was fitted at 60 s + 0.6 s a game against CCRL 40/4
// ratings; here each move gets a fixed, much shorter time, so the figures are
// ratings on that scale at this think time, not at the game's own think time.
#include "bench/EloEstimate.h"
#include "bench/LevelResults.h"
#include "bench/UciProgram.h"
#include "bridge/CLevelPlan.h"
#include "chess/Position.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using bench_support::Join;
using bench_support::PlayText;
using bench_support::Split;
using level_results::Pair;
using level_results::Results;
using level_results::Side;

const char *const ENGINE_PROGRAM = "./Abrok_5_0.exe";
const char *const STOCKFISH = "/usr/games/stockfish";
const int MAX_PLIES = 240; // a longer game is scored a draw
const int REPLY_TIMEOUT_MS = 60000;
const int FIFTY_MOVES = 100; // half-moves without capture or pawn move

// Short openings, each played once with either colour.
const char *const OPENINGS[] = {
    "e2e4 e7e5", "d2d4 d7d5",      "c2c4 e7e5",      "e2e4 c7c5",      "d2d4 g8f6",      "g1f3 d7d5", "e2e4 e7e6",
    "e2e4 c7c6", "b1c3 d7d5",      "f2f4 e7e5",      "e2e4 d7d6",      "e2e4 g8f6",      "d2d4 e7e6", "c2c4 c7c5",
    "g2g3 d7d5", "e2e4 e7e5 g1f3", "d2d4 d7d5 c2c4", "e2e4 c7c5 g1f3", "d2d4 g8f6 c2c4", "b2b3 e7e5",
};
const int OPENING_COUNT = sizeof(OPENINGS) / sizeof(OPENINGS[0]);

// One side's program on its pipes.
class Player {
public:
  bool Start(const Side &side, int thinkMs) {
    // The engine program makes its own "go" from the level and its think
    // time; the anchor is given the same think time.
    go = side.level ? "go" : "go movetime " + std::to_string(thinkMs);
    if (side.level)
      return program.Start(ENGINE_PROGRAM,
                           {"setoption name Level value " + std::to_string(side.level),
                            "setoption name Think Time value " + std::to_string(thinkMs)},
                           REPLY_TIMEOUT_MS);
    return program.Start(STOCKFISH,
                         {"uci", "setoption name Threads value 1", "setoption name Hash value 16",
                          "setoption name UCI_LimitStrength value true",
                          "setoption name UCI_Elo value " + std::to_string(side.elo)},
                         REPLY_TIMEOUT_MS);
  }
  void NewGame() { program.Send("ucinewgame"); }

  // The move in this game; "" if it has none or did not answer.
  std::string Move(const std::vector<std::string> &moves) {
    program.Send("position startpos" + (moves.empty() ? std::string() : " moves " + Join(moves)));
    program.Send(go);
    const std::string line = program.ReadLineWith("bestmove", REPLY_TIMEOUT_MS);
    return line.size() > 9 ? line.substr(9, line.find(' ', 9) - 9) : "";
  }

private:
  bench_support::UciProgram program;
  std::string go;
};

std::unique_ptr<Player> StartPlayer(const Side &side, int thinkMs) {
  auto player = std::make_unique<Player>();
  if (!player->Start(side, thinkMs)) {
    fprintf(stderr, "level_elo: %s did not start\n", side.Id().c_str());
    exit(1);
  }
  return player;
}

// 1 if white wins, 0 if black wins, 0.5 for a draw; -1 if a side failed.
double PlayGame(Player &white, Player &black, const char *opening, int &plies) {
  chess::Position board;
  std::vector<std::string> moves;
  std::map<std::uint64_t, int> seen;
  for (const std::string &move : Split(opening)) {
    PlayText(board, move);
    moves.push_back(move);
  }
  white.NewGame();
  black.NewGame();
  for (;;) {
    plies = int(moves.size());
    const bool whiteToMove = board.GetSideToMove() == chess::White;
    if (board.LegalMoves().empty())
      return board.IsInCheck() ? (whiteToMove ? 0.0 : 1.0) : 0.5;
    if (board.GetHalfMoveClock() >= FIFTY_MOVES || ++seen[board.RepetitionKey()] >= 3 || plies >= MAX_PLIES)
      return 0.5;
    const std::string move = (whiteToMove ? white : black).Move(moves);
    if (!PlayText(board, move)) {
      fprintf(stderr, "level_elo: \"%s\" is not legal after \"%s\"\n", move.c_str(), Join(moves).c_str());
      return -1;
    }
    moves.push_back(move);
  }
}

std::vector<Pair> ParsePairs(const std::string &text) {
  std::vector<Pair> pairs;
  std::istringstream items(text);
  for (std::string item; std::getline(items, item, ',');) {
    const size_t dash = item.find('-');
    const auto first = level_results::ParseSide(item.substr(0, dash));
    const auto second = dash == std::string::npos ? std::nullopt : level_results::ParseSide(item.substr(dash + 1));
    if (!first || !second || !first->level) {
      fprintf(stderr, "level_elo: pair \"%s\" is not <level>-E<elo> nor <level>-<level>\n", item.c_str());
      exit(2);
    }
    pairs.emplace_back(*first, *second);
  }
  return pairs;
}

void ReadResults(const char *path, Results &results) {
  std::ifstream file(path);
  if (!file) {
    fprintf(stderr, "level_elo: cannot read %s\n", path);
    exit(2);
  }
  results.Read(file);
}

void PrintMatch(const Side &a, const Side &b, const elo::Tally &tally) {
  printf("%-6s %-6s %4d %4d %4d %7.1f%%", a.Id().c_str(), b.Id().c_str(), tally.wins, tally.draws, tally.losses,
         100.0 * tally.Score());
  if (tally.Extreme())
    printf("  %s\n", tally.Games() ? "(no finite Elo difference)" : "");
  else
    printf(" %+7.0f +/- %3.0f\n", std::round(elo::DiffOfScore(tally.Score())) + 0.0,
           elo::Z95 * elo::DiffStdError(tally));
}

void PrintTable(const Results &results, int thinkMs) {
  printf("\nmatches (first side's wins, draws, losses, score, Elo difference +/- 95%%):\n");
  // A level first, the higher of two levels first.
  for (const auto &[pair, tally] : results.All()) {
    const bool keep = pair.first.level && (!pair.second.level || pair.first.level > pair.second.level);
    PrintMatch(keep ? pair.first : pair.second, keep ? pair.second : pair.first, keep ? tally : tally.Reversed());
  }
  printf("\nlevel ratings on Stockfish's UCI_Elo scale, %d ms a move (UCI_Elo was fitted at 60 s + 0.6 s a game\n"
         "against CCRL 40/4; this think time is far shorter). Error bar: 95%%, 1.96 standard errors.\n",
         thinkMs);
  // The gap is the estimate less the one of the level below (both estimates).
  printf("%-6s %-14s %9s %7s %6s %6s\n", "level", "name", "estimate", "+/-95%", "games", "gap");
  const elo::Rating *below = nullptr;
  for (const auto &[level, rating] : level_results::RateLevels(results)) {
    const bool estimate = rating.games > 0 && !rating.lowerBound;
    if (rating.games == 0)
      printf("%-6d %-14s %9s %7s %6d\n", level, LevelName(level), "-", "-", 0);
    else if (rating.lowerBound)
      printf("%-6d %-14s >= %6.0f %7s %6d  (won every game: 95%% lower bound)\n", level, LevelName(level), rating.value,
             "-", rating.games);
    else if (below)
      printf("%-6d %-14s %9.0f %7.0f %6d %6.0f\n", level, LevelName(level), rating.value, rating.Bar95(), rating.games,
             std::round(rating.value) - std::round(below->value));
    else
      printf("%-6d %-14s %9.0f %7.0f %6d\n", level, LevelName(level), rating.value, rating.Bar95(), rating.games);
    below = estimate ? &rating : nullptr;
  }
}

} // namespace

int main(int argc, char **argv) {
  int games = 30, thinkMs = 100;
  std::vector<Pair> pairs;
  Results results;
  bool pairsGiven = false, fromGiven = false;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!strcmp(argv[i], "--games")) {
      games = atoi(argv[i + 1]);
    } else if (!strcmp(argv[i], "--think")) {
      thinkMs = atoi(argv[i + 1]);
    } else if (!strcmp(argv[i], "--pairs")) {
      pairs = ParsePairs(argv[i + 1]);
      pairsGiven = true;
    } else if (!strcmp(argv[i], "--from")) {
      ReadResults(argv[i + 1], results);
      fromGiven = true;
    }
  }
  if (!pairsGiven && !fromGiven)
    pairs = ParsePairs("8-E2850,7-E2700,7-E2850,6-E2400,6-E2600,5-E2050,5-E2250,4-E1700,4-E1950,3-E1350,3-E1600,"
                       "3-2,2-1");
#ifdef KELVAR_RUN_DIR
  if (chdir(KELVAR_RUN_DIR) != 0)
    perror(KELVAR_RUN_DIR);
#endif
  unsetenv("ABROK_THINK_MS"); // the think time is the one given here
  unsetenv("ABROK_SKILL_LEVEL");
  unsetenv("ABROK_ENGINE");
  setenv("ABROK_STOCKFISH", STOCKFISH, 1); // the same Stockfish as the anchors
  setvbuf(stdout, nullptr, _IOLBF, 0);

  if (!pairs.empty())
    printf("level elo: %d games a pair, %d ms a move for both sides\n", games, thinkMs);
  for (const Pair &pair : pairs) {
    const auto started = std::chrono::steady_clock::now();
    auto first = StartPlayer(pair.first, thinkMs);
    auto second = StartPlayer(pair.second, thinkMs);
    elo::Tally tally;
    int totalPlies = 0;
    for (int game = 0; game < games; ++game) {
      const bool firstWhite = game % 2 == 0;
      const char *opening = OPENINGS[(game / 2) % OPENING_COUNT];
      int plies = 0;
      const double result =
          firstWhite ? PlayGame(*first, *second, opening, plies) : PlayGame(*second, *first, opening, plies);
      if (result < 0) {
        // A side that failed is started afresh; the game does not count.
        first = StartPlayer(pair.first, thinkMs);
        second = StartPlayer(pair.second, thinkMs);
        continue;
      }
      const double score = firstWhite ? result : 1.0 - result;
      (score == 1.0 ? tally.wins : score == 0.0 ? tally.losses : tally.draws)++;
      totalPlies += plies;
    }
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - started).count();
    printf("result %s %s %d %d %d  (%d ms a move, %d plies a game, %lld s)\n", pair.first.Id().c_str(),
           pair.second.Id().c_str(), tally.wins, tally.draws, tally.losses, thinkMs,
           tally.Games() ? totalPlies / tally.Games() : 0, static_cast<long long>(seconds));
    results.Add(pair.first, pair.second, tally);
  }
  PrintTable(results, thinkMs);
  return 0;
}
