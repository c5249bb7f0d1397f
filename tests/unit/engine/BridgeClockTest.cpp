// The engine program on a chess clock without a process: how a "go" line
// from the front end is read, how the move overhead and a weakened level's
// movetime reach the engine, and that a weakened level's think time keeps
// its clock from running out.
#include "bridge/CLevelPlan.h"
#include "bridge/GoRequest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <string>
#include <utility>

namespace {

const std::set<std::string> STOCKFISH_OPTIONS = {
    "Hash", "Threads", "MultiPV", "Skill Level", "UCI_LimitStrength", "UCI_Elo", "Ponder", "Move Overhead"};
// Ethereal names its overhead "MoveOverhead" and has no strength options.
const std::set<std::string> ETHEREAL_OPTIONS = {"Hash", "Threads", "MultiPV", "Ponder", "MoveOverhead"};

SearchClock Clock(long long whiteMs, long long blackMs, long long whiteIncMs = 0, long long blackIncMs = 0,
                  int movesToGo = 0) {
  SearchClock clock;
  clock.whiteMs = whiteMs;
  clock.blackMs = blackMs;
  clock.whiteIncMs = whiteIncMs;
  clock.blackIncMs = blackIncMs;
  clock.movesToGo = movesToGo;
  return clock;
}

// The number after word in a go line; -1 if the word is not there.
long long ValueAfter(const std::string &go, const std::string &word) {
  std::smatch match;
  if (!std::regex_search(go, match, std::regex(" " + word + " (-?[0-9]+)")))
    return -1;
  return std::stoll(match[1]);
}

} // namespace

TEST(BridgeClock, GoLinesAreReadWithTheirClock) {
  struct Case {
    const char *arguments;
    long long white, black, whiteInc, blackInc;
    int movesToGo;
    int adviceMs;
    const char *ignored;
    int problems;
  };
  const long long NONE = SearchClock::NOT_GIVEN;
  const Case cases[] = {
      {"", NONE, NONE, 0, 0, 0, -1, "", 0},
      {"wtime 60000 btime 55000", 60000, 55000, 0, 0, 0, -1, "", 0},
      {"movestogo 12 binc 2000 btime 1 winc 3000 wtime 2", 2, 1, 3000, 2000, 12, -1, "", 0},
      {"wtime 0 btime 0 winc 0 binc 0", 0, 0, 0, 0, 0, -1, "", 0},
      {"movetime 500", NONE, NONE, 0, 0, 0, 500, "", 0},
      {"wtime 2147483647 btime 1", 2147483647, 1, 0, 0, 0, -1, "", 0},
      {"depth 5 wtime 1000 infinite btime 900 ponder", 1000, 900, 0, 0, 0, -1, "depth 5 infinite ponder", 0},
      // Bad values are left out, each with its own line; the rest stands.
      {"wtime -5 btime 1000", NONE, 1000, 0, 0, 0, -1, "", 1},
      {"wtime abc btime 1000", NONE, 1000, 0, 0, 0, -1, "", 1},
      {"wtime 12x btime 1e5", NONE, NONE, 0, 0, 0, -1, "", 2},
      {"wtime 2147483648 btime 99999999999999999999", NONE, NONE, 0, 0, 0, -1, "", 2},
      {"wtime btime 5000", NONE, 5000, 0, 0, 0, -1, "", 1},
      {"wtime 5000 btime", 5000, NONE, 0, 0, 0, -1, "", 1},
      {"wtime 5000 btime 5000 winc -1 binc 1.5 movestogo -3", 5000, 5000, 0, 0, 0, -1, "", 3},
      {"movetime 5", NONE, NONE, 0, 0, 0, -1, "", 1},
      {"movetime 600001", NONE, NONE, 0, 0, 0, -1, "", 1},
  };
  for (const Case &c : cases) {
    const GoRequest request = GoRequest::Parse(c.arguments);
    EXPECT_EQ(request.clock.whiteMs, c.white) << c.arguments;
    EXPECT_EQ(request.clock.blackMs, c.black) << c.arguments;
    EXPECT_EQ(request.clock.whiteIncMs, c.whiteInc) << c.arguments;
    EXPECT_EQ(request.clock.blackIncMs, c.blackInc) << c.arguments;
    EXPECT_EQ(request.clock.movesToGo, c.movesToGo) << c.arguments;
    EXPECT_EQ(request.adviceMs, c.adviceMs) << c.arguments;
    EXPECT_EQ(request.ignored, c.ignored) << c.arguments;
    ASSERT_EQ(int(request.problems.size()), c.problems) << c.arguments;
  }
  // A problem names the word and the value it refused.
  const GoRequest bad = GoRequest::Parse("wtime -5 btime 1000 movestogo x");
  ASSERT_EQ(bad.problems.size(), 2u);
  EXPECT_EQ(bad.problems[0], "go wtime -5 is not a whole number of milliseconds from 0 to 2147483647; ignored");
  EXPECT_EQ(bad.problems[1], "go movestogo x is not a whole number of moves from 0 to 10000; ignored");
  EXPECT_EQ(GoRequest::Parse("wtime").problems.at(0), "go wtime without a value; ignored");
  // "nodes N" asks for an analysis of that size; a bad count is named and left out.
  EXPECT_EQ(GoRequest::Parse("nodes 300000").nodes, 300000);
  EXPECT_EQ(GoRequest::Parse("wtime 5 nodes 2147483647 btime 5").nodes, GoRequest::NODES_MAX);
  for (const char *bad : {"nodes 0", "nodes -3", "nodes 2147483648", "nodes 3e5", "nodes", "nodes movetime 500"}) {
    const GoRequest request = GoRequest::Parse(bad);
    EXPECT_EQ(request.nodes, -1) << bad;
    EXPECT_EQ(request.problems.size(), 1u) << bad;
  }
  EXPECT_EQ(GoRequest::Parse("nodes 0").problems.at(0),
            "go nodes 0 is not a whole number of nodes from 1 to 2147483647; ignored");
  EXPECT_TRUE(GoRequest::Parse("winc 100").clock.Given());
  EXPECT_FALSE(GoRequest::Parse("depth 3").clock.Given());
}

// The engine gets the overhead as its option where it has one, else it is
// taken off its own time; only a weakened level is given a movetime. (The
// go line for each time control is checked through the program, against
// the scripted engine.)
TEST(BridgeClock, TheOverheadAndTheMovetimeGoWhereTheEngineNeedsThem) {
  const int thinkMs = 700;
  // The overhead is the engine's option where it has one...
  const CLevelPlan stockfish = CLevelPlan::FullStrength(STOCKFISH_OPTIONS);
  EXPECT_EQ(std::count(stockfish.options.begin(), stockfish.options.end(),
                       std::make_pair(std::string("Move Overhead"), std::to_string(MOVE_OVERHEAD_MS))),
            1);
  // ... and is taken off the engine's own time where it has none; still
  // never down to 0.
  const CLevelPlan ethereal = CLevelPlan::ForLevel(8, ETHEREAL_OPTIONS);
  EXPECT_EQ(ethereal.GoCommand(Clock(60000, 55000), true, thinkMs),
            "go wtime " + std::to_string(60000 - MOVE_OVERHEAD_MS) + " btime 55000");
  EXPECT_EQ(ethereal.GoCommand(Clock(60000, 55000), false, thinkMs),
            "go wtime 60000 btime " + std::to_string(55000 - MOVE_OVERHEAD_MS));
  EXPECT_EQ(ethereal.GoCommand(Clock(60000, MOVE_OVERHEAD_MS), false, thinkMs), "go wtime 60000 btime 1");
  // Every level of an engine that cannot be weakened plays on its own clock.
  for (int level = LEVEL_MIN; level <= LEVEL_MAX; ++level)
    EXPECT_EQ(ValueAfter(CLevelPlan::ForLevel(level, ETHEREAL_OPTIONS).GoCommand(Clock(1000, 1000), true, thinkMs),
                         "movetime"),
              -1)
        << level;
  // The expert's full skill is full strength; any lower skill is weakened.
  EXPECT_EQ(ValueAfter(CLevelPlan::ForLevel(1, STOCKFISH_OPTIONS, 20).GoCommand(Clock(9000, 9000), true, thinkMs),
                       "movetime"),
            -1);
  EXPECT_GT(ValueAfter(CLevelPlan::ForLevel(8, STOCKFISH_OPTIONS, 19).GoCommand(Clock(9000, 9000), true, thinkMs),
                       "movetime"),
            0);
}

// A weakened level that thinks for all it is allowed on every move, each move
// costing the overhead on top, never runs out of time on any control within
// a long game, never thinks longer than its think time, and still thinks at
// least a moment. (Without an increment every move's overhead is lost for
// good: a game long enough flags any player.)
TEST(BridgeClock, AWeakenedLevelNeverBurnsItsClock) {
  const int GAME_MOVES = 100;
  struct Control {
    const char *name;
    long long startMs, incMs;
    int periodMoves;       // 0: sudden death
    long long periodAddMs; // added at the end of each period
  };
  const Control controls[] = {
      {"1 min", 60000, 0, 0, 0},
      {"5 min + 3 s", 300000, 3000, 0, 0},
      {"40 moves in 90 min, then 30 min", 5400000, 0, 40, 1800000},
      {"3 min", 180000, 0, 0, 0},
      {"2 s + 2 s", 2000, 2000, 0, 0},
      {"5 moves in 1 s", 1000, 0, 5, 1000},
  };
  for (const int thinkMs : {100, 1000, 600000})
    for (const Control &control : controls) {
      const CLevelPlan plan = CLevelPlan::ForLevel(2, STOCKFISH_OPTIONS);
      long long left = control.startMs, least = left;
      for (int move = 0; move < GAME_MOVES; ++move) {
        SearchClock clock = Clock(left, 60000, control.incMs, control.incMs);
        if (control.periodMoves > 0)
          clock.movesToGo = control.periodMoves - move % control.periodMoves;
        const long long thinks = ValueAfter(plan.GoCommand(clock, true, thinkMs), "movetime");
        ASSERT_GE(thinks, CLevelPlan::MOVE_MS_MIN) << control.name << " move " << move;
        ASSERT_LE(thinks, thinkMs) << control.name << " move " << move;
        left -= thinks + MOVE_OVERHEAD_MS;
        ASSERT_GT(left, 0) << control.name << ", think time " << thinkMs << ": flagged at move " << move;
        least = std::min(least, left);
        left += control.incMs;
        if (control.periodMoves > 0 && clock.movesToGo == 1)
          left += control.periodAddMs;
      }
      // The time is spent, not hoarded: with a think time that does not bind,
      // a sudden-death clock is well used over the first 30 moves.
      if (thinkMs == 600000 && control.incMs == 0 && control.periodMoves == 0) {
        EXPECT_LT(least, control.startMs / 2) << control.name;
      }
    }
}
