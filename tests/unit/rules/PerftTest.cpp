// Leaf counts of the legal move tree against published figures and
// Stockfish's, in positions whose trees hold no promotion (the board promotes
// to a queen only, the figures count four pieces).
#include "rules/Perft.h"
#include "rules/CBoardSnapshot.h"
#include "tests/unit/rules/RulesTestSupport.h"

#include <cstdio>
#include <string>

using rules_testing::DescribeBoard;
using rules_testing::FenBoard;

namespace {

struct PerftCase {
  const char *name;
  const char *fen;
  std::vector<std::uint64_t> leaves; // for depth 1, 2, ...
};

const PerftCase CASES[] = {
    {"StartPosition", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", {20, 400, 8902, 197281}},
    {"Kiwipete", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", {48, 2039, 97862}},
    {"PinsAndEnPassantOnTheFifthRank", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", {14, 191, 2812, 43238}},
    {"EnPassantTakesTheCheckingPawn", "8/8/8/2k5/3Pp3/8/8/4K3 b - d3 0 1", {9, 50, 379, 2369}},
    {"EnPassantRefusedWhenItOpensTheRank", "8/8/8/8/k2Pp2Q/8/8/3K4 b - d3 0 1", {6, 136, 863, 20471}},
    {"EnPassantRefusedWhenItOpensTheDiagonal", "8/8/4k3/8/2p5/8/B2P2K1/8 w - - 0 1", {13, 102, 1266, 10276}},
    {"EnPassantRefusedWhenItExposesTheKing", "3k4/3p4/8/K1P4r/8/8/8/8 b - - 0 1", {18, 92, 1670, 10138}},
    {"EnPassantGivesCheck", "8/8/1k6/2b5/2pP4/8/5K2/8 b - d3 0 1", {15, 126, 1928, 13931}},
    {"CastlingThroughAndIntoAttackedSquares", "r3k2r/8/3Q4/8/8/5q2/8/R3K2R b KQkq - 0 1", {44, 1494, 50509}},
    {"CastlingRightsLostByCaptures", "r3k2r/1b4bq/8/8/8/8/7B/R3K2R w KQkq - 0 1", {26, 1141, 27826}},
    {"ShortCastlingGivesCheck", "5k2/8/8/8/8/8/8/4K2R w K - 0 1", {15, 66, 1198, 6399}},
    {"LongCastlingGivesCheck", "3k4/8/8/8/8/8/8/R3K3 w Q - 0 1", {16, 71, 1286, 7418}},
    // Four promotion pieces count as one queen: 5 king moves + b8=Q.
    {"PromotionCountsOnce", "4k3/1P6/8/8/8/8/K7/8 w - - 0 1", {6}},
};

void PrintTo(const PerftCase &c, std::ostream *out) { *out << c.name; }

class PerftTest : public testing::TestWithParam<PerftCase> {};

} // namespace

TEST_P(PerftTest, LeafCountsMatchAndThePositionIsRestored) {
  const PerftCase &c = GetParam();
  FenBoard board(c.fen);
  const std::string before = DescribeBoard(board.map);
  for (size_t depth = 1; depth <= c.leaves.size(); ++depth)
    EXPECT_EQ(Perft(board.map, board.side, int(depth)), c.leaves[depth - 1]) << "depth " << depth;
  EXPECT_EQ(DescribeBoard(board.map), before);
}

INSTANTIATE_TEST_SUITE_P(Positions, PerftTest, testing::ValuesIn(CASES),
                         [](const testing::TestParamInfo<PerftCase> &info) { return info.param.name; });

// Runs the perft tool; returns its exit status and standard output.
static int RunPerftTool(const std::string &arguments, std::string &output) {
  FILE *pipe = popen((std::string(KELVAR_PERFT) + " " + arguments + " 2>/dev/null").c_str(), "r");
  if (!pipe)
    return -1;
  char buffer[256];
  output.clear();
  while (fgets(buffer, sizeof buffer, pipe))
    output += buffer;
  return pclose(pipe);
}

TEST(PerftToolTest, PrintsOneCountLineAndRefusesBadInput) {
  std::string output;
  EXPECT_EQ(RunPerftTool("'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1' 3", output), 0);
  EXPECT_EQ(output, "8902\n");

  for (const char *bad : {"'not a fen' 2", "'8/8/8/8/8/8/8/8 w - -' 2", "'4k3/8/8/8/8/8/8/4K3 w - -' -1",
                          "'4k3/8/8/8/8/8/8/4K3 w - -' two", "'4k3/8/8/8/8/8/8/4K3 w - -'"}) {
    EXPECT_NE(RunPerftTool(bad, output), 0) << bad;
    EXPECT_EQ(output, "") << bad;
  }
}

TEST(FenTest, BadPositionsAreRefusedAndLeaveTheBoardAlone) {
  FenBoard board("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  const std::string before = DescribeBoard(board.map);
  const char *const bad[] = {
      "",
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR",          // no side to move
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x KQkq -", // unknown side
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP w KQkq -",          // seven ranks
      "rnbqkbnr/pppppppp/9/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", // nine squares
      "rnbqkbnr/ppppxppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", // unknown piece
      "rnbq1bnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQ -",   // no black king
      "P3k3/8/8/8/8/8/8/4K3 w - -",                           // pawn on the last rank
      "QQQQkQQQ/QQQQQQQQ/8/8/8/8/8/4K3 w - -",                // more than 16 white pieces
      "4k3/8/8/8/8/8/8/4K3 w X -",                            // unknown castling letter
      "4k3/8/8/3pP3/8/8/8/4K3 w - e6",                        // no black pawn on e5
      "4k3/8/8/3pP3/8/8/8/4K3 w - d3",                        // wrong rank for White to move
  };
  for (const char *fen : bad) {
    irr::s32 side = -1;
    std::string error;
    EXPECT_FALSE(LoadFen(board.map, fen, side, error)) << fen;
    EXPECT_FALSE(error.empty()) << fen;
    EXPECT_EQ(side, -1) << fen;
  }
  EXPECT_EQ(DescribeBoard(board.map), before);
}
