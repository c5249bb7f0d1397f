// Leaf counts of the legal move tree against published figures and
// Stockfish's, every promotion piece counted.
#include "chess/Perft.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

using chess::Perft;
using chess::Position;

namespace {

struct PerftCase {
  const char *name;
  const char *fen;
  std::vector<std::uint64_t> leaves; // for depth 1, 2, ...
};

const PerftCase CASES[] = {
    {"StartPosition", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", {20, 400, 8902, 197281, 4865609}},
    {"Kiwipete", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", {48, 2039, 97862, 4085603}},
    {"PinsAndEnPassantOnTheFifthRank", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", {14, 191, 2812, 43238, 674624}},
    {"PromotionsAndCastlingRightsOfBlackOnly",
     "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
     {6, 264, 9467, 422333}},
    {"PromotionByCaptureAndDiscoveredCheck",
     "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
     {44, 1486, 62379, 2103487}},
    {"EnPassantTakesTheCheckingPawn", "8/8/8/2k5/3Pp3/8/8/4K3 b - d3 0 1", {9, 50, 379, 2369}},
    {"EnPassantRefusedWhenItOpensTheRank", "8/8/8/8/k2Pp2Q/8/8/3K4 b - d3 0 1", {6, 136, 863, 20471}},
    {"EnPassantRefusedWhenItOpensTheDiagonal", "8/8/4k3/8/2p5/8/B2P2K1/8 w - - 0 1", {13, 102, 1266, 10276}},
    {"EnPassantRefusedWhenItExposesTheKing", "3k4/3p4/8/K1P4r/8/8/8/8 b - - 0 1", {18, 92, 1670, 10138}},
    {"EnPassantGivesCheck", "8/8/1k6/2b5/2pP4/8/5K2/8 b - d3 0 1", {15, 126, 1928, 13931}},
    {"CastlingThroughAndIntoAttackedSquares", "r3k2r/8/3Q4/8/8/5q2/8/R3K2R b KQkq - 0 1", {44, 1494, 50509}},
    {"CastlingRightsLostByCaptures", "r3k2r/1b4bq/8/8/8/8/7B/R3K2R w KQkq - 0 1", {26, 1141, 27826}},
    {"ShortCastlingGivesCheck", "5k2/8/8/8/8/8/8/4K2R w K - 0 1", {15, 66, 1198, 6399}},
    {"LongCastlingGivesCheck", "3k4/8/8/8/8/8/8/R3K3 w Q - 0 1", {16, 71, 1286, 7418}},
    // 5 king moves and b8 as queen, rook, bishop and knight.
    {"PromotionCountsEveryPiece", "4k3/1P6/8/8/8/8/K7/8 w - - 0 1", {9, 40, 472, 2661}},
    {"UnderPromotionGivesCheck", "8/P1k5/K7/8/8/8/8/8 w - - 0 1", {6, 27, 273, 1329}},
    {"PromotionsOnBothSides", "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1", {24, 496, 9483, 182838}},
};

void PrintTo(const PerftCase &c, std::ostream *out) { *out << c.name; }

class PerftTest : public testing::TestWithParam<PerftCase> {};

} // namespace

TEST_P(PerftTest, LeafCountsMatchAndThePositionIsRestored) {
  const PerftCase &c = GetParam();
  Position position;
  std::string error;
  ASSERT_TRUE(position.SetFen(c.fen, error)) << error;
  const std::string fen = position.GetFen();
  const std::uint64_t key = position.GetKey();
  for (std::size_t depth = 1; depth <= c.leaves.size(); ++depth)
    EXPECT_EQ(Perft(position, int(depth)), c.leaves[depth - 1]) << "depth " << depth;
  EXPECT_EQ(position.GetFen(), fen);
  EXPECT_EQ(position.GetKey(), key);
  EXPECT_EQ(position.GetPlayedCount(), 0u);
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
  EXPECT_EQ(RunPerftTool("'4k3/1P6/8/8/8/8/K7/8 w - - 0 1' 1", output), 0);
  EXPECT_EQ(output, "9\n");

  for (const char *bad :
       {"'not a fen' 2", "'8/8/8/8/8/8/8/8 w - -' 2", "'4k3/8/8/8/8/8/8/4K3 w - -' -1", "'4k3/8/8/8/8/8/8/4K3 w - -' 9",
        "'4k3/8/8/8/8/8/8/4K3 w - -' two", "'4k3/8/8/8/8/8/8/4K3 w - -'"}) {
    EXPECT_NE(RunPerftTool(bad, output), 0) << bad;
    EXPECT_EQ(output, "") << bad;
  }
}
