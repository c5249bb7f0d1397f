// The engine program's own chess knowledge and strength settings, without a
// process: its legal-move generator against published perft counts, the
// engine options each level sets, and the weakened choice among candidates.
#include "bridge/CBoard.h"
#include "bridge/CCandidateLines.h"
#include "bridge/CLevelPlan.h"

#include <gtest/gtest.h>

#include <map>

namespace {

uint64_t Perft(const CBoard &board, int depth) {
  if (depth == 0)
    return 1;
  uint64_t nodes = 0;
  for (const std::string &move : board.LegalMoves()) {
    CBoard next = board;
    next.Apply(move);
    nodes += Perft(next, depth - 1);
  }
  return nodes;
}

const std::set<std::string> STOCKFISH_OPTIONS = {"Hash",    "Threads", "MultiPV", "Skill Level", "UCI_LimitStrength",
                                                 "UCI_Elo", "Ponder"};
const std::set<std::string> ETHEREAL_OPTIONS = {"Hash", "Threads", "MultiPV", "Ponder", "UCI_Chess960"};

std::map<std::string, std::string> OptionMap(const CLevelPlan &plan) {
  return {plan.options.begin(), plan.options.end()};
}

} // namespace

// Published counts (chessprogramming.org "Perft Results"); the positions
// hold castling through and out of check, en passant discovering check and
// promotions to every piece.
TEST(BridgeMoves, PerftMatchesPublishedCounts) {
  struct Case {
    const char *name;
    const char *fen;
    int depth;
    uint64_t nodes;
  };
  const Case cases[] = {
      {"start position", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 3, 8902},
      {"kiwipete", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 2, 2039},
      {"rook ending with en passant pins", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 4, 43238},
      {"promotions and checks", "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 3, 9467},
      {"promotion by capture", "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 2, 1486},
  };
  for (const Case &c : cases) {
    CBoard board;
    std::string error;
    ASSERT_TRUE(board.SetFen(c.fen, error)) << c.name << ": " << error;
    EXPECT_EQ(Perft(board, c.depth), c.nodes) << c.name;
  }
}

TEST(BridgeMoves, GameEndsAndRulesAfterMoves) {
  CBoard board;
  for (const char *move : {"f2f3", "e7e5", "g2g4"})
    board.Apply(move);
  EXPECT_FALSE(board.InCheck());
  board.Apply("d8h4");
  EXPECT_TRUE(board.InCheck());
  EXPECT_TRUE(board.LegalMoves().empty()) << "fool's mate";

  std::string error;
  ASSERT_TRUE(board.SetFen("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", error));
  EXPECT_FALSE(board.InCheck());
  EXPECT_TRUE(board.LegalMoves().empty()) << "stalemate";

  // Moving the king's rook loses king-side castling only.
  ASSERT_TRUE(board.SetFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", error));
  board.Apply("h1h2");
  board.Apply("a8a7");
  EXPECT_FALSE(board.IsLegal("e1g1"));
  EXPECT_TRUE(board.IsLegal("e1c1"));
  board.Apply("e1c1");
  EXPECT_EQ(board.PieceAt("d1"), 'R');
  EXPECT_FALSE(board.IsLegal("e8c8")) << "black's queen-side rook has moved";
  EXPECT_TRUE(board.IsLegal("e8g8"));

  // Repetition keys: knights out and back give the start position again.
  CBoard start;
  for (const char *move : {"g1f3", "g8f6", "f3g1", "f6g8"})
    start.Apply(move);
  EXPECT_EQ(start.Key(), CBoard().Key());
  EXPECT_EQ(start.HalfMoveClock(), 4);
  start.Apply("e2e4");
  EXPECT_EQ(start.HalfMoveClock(), 0);
}

TEST(BridgeMoves, BrokenPositionsAreRefusedAndLeaveTheBoard) {
  const char *const broken[] = {
      "",
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR",           // no side to move
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP w KQkq - 0 1",       // seven ranks
      "rnbqkbnr/pppppppp/9/8/8/8/PPPPPPPP/RNBQKBNR w - - 0 1", // nine squares
      "rnbqkbnr/ppppxppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - - 0 1", // no such piece
      "rnbq1bnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - - 0 1", // no black king
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x - - 0 1", // side
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KX - 0 1",
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - e9 0 1",
  };
  for (const char *fen : broken) {
    CBoard board;
    board.Apply("e2e4");
    const std::string before = board.Key();
    std::string error;
    EXPECT_FALSE(board.SetFen(fen, error)) << fen;
    EXPECT_FALSE(error.empty()) << fen;
    EXPECT_EQ(board.Key(), before) << fen;
  }
}

TEST(BridgeLevels, EachLevelSetsTheEngineOptionsItOffers) {
  struct Case {
    int level;
    std::map<std::string, std::string> options;
    int depth;
    int candidates;
  };
  const Case cases[] = {
      {1, {{"UCI_LimitStrength", "false"}, {"Skill Level", "20"}, {"MultiPV", "6"}}, 1, 6},
      {2, {{"UCI_LimitStrength", "false"}, {"Skill Level", "20"}, {"MultiPV", "5"}}, 2, 5},
      {3, {{"UCI_LimitStrength", "false"}, {"Skill Level", "1"}, {"MultiPV", "1"}}, 4, 1},
      {4, {{"UCI_LimitStrength", "true"}, {"UCI_Elo", "1700"}, {"Skill Level", "20"}, {"MultiPV", "1"}}, 6, 1},
      {7, {{"UCI_LimitStrength", "true"}, {"UCI_Elo", "2550"}, {"Skill Level", "20"}, {"MultiPV", "1"}}, 0, 1},
      {8, {{"UCI_LimitStrength", "false"}, {"Skill Level", "20"}, {"MultiPV", "1"}}, 0, 1},
  };
  for (const Case &c : cases) {
    const CLevelPlan plan = CLevelPlan::ForLevel(c.level, STOCKFISH_OPTIONS);
    EXPECT_TRUE(plan.levelApplies) << c.level;
    EXPECT_EQ(OptionMap(plan), c.options) << "level " << c.level;
    EXPECT_EQ(plan.depth, c.depth) << c.level;
    EXPECT_EQ(plan.candidates, c.candidates) << c.level;
    EXPECT_STRNE(LevelName(c.level), "");
  }
  EXPECT_EQ(CLevelPlan::ForLevel(1, STOCKFISH_OPTIONS).GoCommand(700), "go movetime 700 depth 1");
  EXPECT_EQ(CLevelPlan::ForLevel(8, STOCKFISH_OPTIONS).GoCommand(700), "go movetime 700");

  // An engine without Skill Level and UCI_Elo: no level, full strength.
  for (int level = LEVEL_MIN; level <= LEVEL_MAX; ++level) {
    const CLevelPlan plan = CLevelPlan::ForLevel(level, ETHEREAL_OPTIONS);
    EXPECT_FALSE(plan.levelApplies) << level;
    EXPECT_EQ(OptionMap(plan), (std::map<std::string, std::string>{{"MultiPV", "1"}})) << level;
    EXPECT_EQ(plan.GoCommand(500), "go movetime 500") << level;
  }
  // Only Skill Level: ratings become the nearest skill.
  const CLevelPlan skillOnly = CLevelPlan::ForLevel(5, {"Skill Level"});
  EXPECT_EQ(OptionMap(skillOnly), (std::map<std::string, std::string>{{"Skill Level", "8"}}));
  // The expert's override wins over the level.
  const CLevelPlan forced = CLevelPlan::ForLevel(1, STOCKFISH_OPTIONS, 12);
  EXPECT_EQ(OptionMap(forced).at("Skill Level"), "12");
  EXPECT_EQ(forced.candidates, 1);
  EXPECT_STREQ(LevelName(0), "");
  EXPECT_STREQ(LevelName(9), "");
}

TEST(BridgeLevels, WeakenedChoiceStaysCloseToTheBestLine) {
  CCandidateLines lines;
  for (const char *info : {
           "info depth 1 seldepth 1 multipv 1 score cp 500 nodes 20 pv a2a3",
           "info depth 2 seldepth 2 multipv 1 score cp 50 nodes 90 pv e2e4 e7e5",
           "info depth 2 seldepth 2 multipv 2 score cp 20 nodes 90 pv d2d4 d7d5",
           "info depth 2 seldepth 2 multipv 3 score cp -200 nodes 90 pv g2g4 d7d5",
           "info depth 2 seldepth 2 multipv 4 score cp 40 lowerbound nodes 90 pv b1c3",
           "info depth 2 currmove h2h4 currmovenumber 5",
           "info string nothing to see",
           "bestmove e2e4",
       })
    lines.OnInfo(info);
  EXPECT_EQ(lines.Count(), 3u);
  std::mt19937 random(7);
  std::set<std::string> picked;
  for (int i = 0; i < 200; ++i)
    picked.insert(lines.Pick(100, random));
  EXPECT_EQ(picked, (std::set<std::string>{"e2e4", "d2d4"})) << "g2g4 is 250 below the best";

  // A mate that was found is played; a line that is mated is never close.
  CCandidateLines mating;
  mating.OnInfo("info depth 3 multipv 1 score mate 2 pv d1h5");
  mating.OnInfo("info depth 3 multipv 2 score cp 900 pv d1f3");
  mating.OnInfo("info depth 3 multipv 3 score mate -1 pv a2a3");
  for (int i = 0; i < 50; ++i)
    EXPECT_EQ(mating.Pick(300, random), "d1h5");
  mating.Clear();
  EXPECT_EQ(mating.Pick(300, random), "");
}
