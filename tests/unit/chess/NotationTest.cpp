// Standard Algebraic Notation both ways over the core's positions: the
// written forms, the forgiving forms read from other programs' files, the
// refusals, and every legal move of sample positions read back to itself.
#include "chess/CSanNotation.h"
#include "tests/unit/chess/ChessTestSupport.h"

#include <gtest/gtest.h>

#include <ostream>
#include <set>

using namespace chess;
using chess_testing::FromFen;
using chess_testing::Uci;

namespace {

struct SanCase {
  const char *name;
  const char *fen;
  const char *uci;
  const char *san;
};

// A failing case is named by its position and move.
void PrintTo(const SanCase &c, std::ostream *out) { *out << c.fen << " " << c.san; }

const SanCase WRITTEN[] = {
    {"PawnStep", Position::START_FEN, "e2e4", "e4"},
    {"KnightMove", Position::START_FEN, "g1f3", "Nf3"},
    {"DisambiguatedByFile", "4k3/8/8/8/8/8/4K3/R6R w - - 0 1", "a1d1", "Rad1"},
    {"DisambiguatedByRank", "4k3/8/8/R7/8/8/4K3/R7 w - - 0 1", "a1a3", "R1a3"},
    {"DisambiguatedByBothWithThreeQueens", "8/8/8/1k6/4Q2Q/8/8/K6Q w - - 0 1", "h4e1", "Qh4e1"},
    {"PinnedRivalNeedsNoDisambiguation", "4k3/8/8/7R/8/8/r2R2K1/8 w - - 0 1", "h5d5", "Rd5"},
    {"ShortCastling", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "e1g1", "O-O"},
    {"LongCastling", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "e1c1", "O-O-O"},
    {"BlackCastlesShort", "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", "e8g8", "O-O"},
    {"EnPassant", "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1", "e5d6", "exd6"},
    {"PromotionWithCaptureAndCheck", "1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7b8q", "axb8=Q+"},
    {"UnderPromotionToRookChecksToo", "1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7b8r", "axb8=R+"},
    {"UnderPromotionToKnight", "4k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7a8n", "a8=N"},
    {"KnightPromotionGivesCheck", "8/1P1k4/8/8/8/8/8/4K3 w - - 0 1", "b7b8n", "b8=N+"},
    {"BlackPromotes", "4k3/8/8/8/8/8/p7/4K3 b - - 0 1", "a2a1q", "a1=Q+"},
    {"Mate", "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4", "h5f7", "Qxf7#"},
    {"CheckByCastlingRook", "5k2/8/8/8/8/8/8/4K2R w K - 0 1", "e1g1", "O-O+"},
};

class SanWriting : public testing::TestWithParam<SanCase> {};

TEST_P(SanWriting, WritesTheMoveAndReadsItBack) {
  const SanCase &c = GetParam();
  const Position position = FromFen(c.fen);
  const std::string fenBefore = position.GetFen();
  EXPECT_EQ(CSanNotation::ToSan(position, Uci(c.uci)), c.san);
  EXPECT_EQ(position.GetFen(), fenBefore) << "writing must leave the position alone";
  Move read;
  std::string error;
  ASSERT_TRUE(CSanNotation::FromSan(position, c.san, read, error)) << error;
  EXPECT_EQ(read.ToUci(), c.uci);
}

INSTANTIATE_TEST_SUITE_P(Table, SanWriting, testing::ValuesIn(WRITTEN),
                         [](const testing::TestParamInfo<SanCase> &info) { return info.param.name; });

// Forms other programs write, and what the reader makes of them.
const SanCase FORGIVING[] = {
    {"ZeroCastling", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "e1g1", "0-0"},
    {"ZeroLongCastling", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "e1c1", "0-0-0"},
    {"ExtraCheckMark", Position::START_FEN, "g1f3", "Nf3+"},
    {"MissingCheckMark", "1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7b8q", "axb8=Q"},
    {"PromotionWithoutEquals", "4k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7a8q", "a8Q"},
    {"PromotionPieceMissingIsAQueen", "4k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7a8q", "a8"},
    {"CapturePromotionPieceMissingIsAQueen", "1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7b8q", "axb8+"},
    {"UnderPromotionWithoutEquals", "4k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7a8n", "a8N"},
    {"LowerCasePromotionPiece", "4k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7a8b", "a8=b"},
    {"AnnotationMarks", Position::START_FEN, "e2e4", "e4!?"},
    {"LongFormWithHyphen", Position::START_FEN, "g1f3", "Ng1-f3"},
    {"NeedlessDisambiguation", Position::START_FEN, "g1f3", "Ngf3"},
};

class SanReading : public testing::TestWithParam<SanCase> {};

TEST_P(SanReading, AcceptsTheUsualVariants) {
  const SanCase &c = GetParam();
  const Position position = FromFen(c.fen);
  std::string error;
  Move read;
  ASSERT_TRUE(CSanNotation::FromSan(position, c.san, read, error)) << error;
  EXPECT_EQ(read.ToUci(), c.uci);
}

INSTANTIATE_TEST_SUITE_P(Table, SanReading, testing::ValuesIn(FORGIVING),
                         [](const testing::TestParamInfo<SanCase> &info) { return info.param.name; });

TEST(SanRefusals, NameTheFault) {
  struct Case {
    const char *fen, *san, *reason;
  } cases[] = {
      {Position::START_FEN, "Xe4", "unknown piece letter 'X'"},
      {Position::START_FEN, "Ke2", "illegal move \"Ke2\""},
      {Position::START_FEN, "e5", "illegal move"},
      {Position::START_FEN, "Nz9", "unexpected character"},
      {Position::START_FEN, "e4=Q", "illegal move"}, // a promotion piece on a move that is none
      {"4k3/8/8/8/8/8/4K3/R6R w - - 0 1", "Rd1", "ambiguous move \"Rd1\""},
      {"4k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a8=K", "unknown promotion piece"},
      {"4k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a8=P", "unknown promotion piece"},
      {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", "O-O", "illegal move"},
      {Position::START_FEN, "", "empty move"},
  };
  for (const Case &c : cases) {
    const Position position = FromFen(c.fen);
    std::string error;
    Move move;
    EXPECT_FALSE(CSanNotation::FromSan(position, c.san, move, error)) << c.san;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.san << ": " << error;
  }
}

// Every legal move of each position, each promotion piece included, is
// written, the names are all different, and each reads back to the move it
// came from.
TEST(SanRoundTrip, EveryLegalMoveReadsBackToItself) {
  const char *fens[] = {
      Position::START_FEN,
      "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
      "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R b KQkq - 0 1",
      "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
      "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1",
      "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N w - - 0 1",
      "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
      "8/8/8/1k6/4Q2Q/8/8/K6Q w - - 0 1",
  };
  for (const char *fen : fens) {
    const Position position = FromFen(fen);
    std::set<std::string> names;
    const std::vector<Move> moves = position.LegalMoves();
    ASSERT_FALSE(moves.empty()) << fen;
    for (const Move &move : moves) {
      const std::string san = CSanNotation::ToSan(position, move);
      EXPECT_TRUE(names.insert(san).second) << fen << ": two moves are written " << san;
      Move read;
      std::string error;
      ASSERT_TRUE(CSanNotation::FromSan(position, san, read, error)) << fen << " " << san << ": " << error;
      EXPECT_EQ(read, move) << fen << " " << san;
    }
  }
}

} // namespace
