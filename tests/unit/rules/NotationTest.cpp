// Standard Algebraic Notation both ways over the board's own rules, and the
// position set-up and FEN output it rests on.
#include "rules/CSanNotation.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// Sets the position, failing the test on a refused FEN.
void SetUpPosition(CChessPosition &position, const char *fen) {
  std::string error;
  ASSERT_TRUE(position.SetFen(fen, error)) << fen << ": " << error;
}

ChessMove Uci(const char *text) {
  ChessMove move;
  EXPECT_TRUE(ChessMove::FromUci(text, move)) << text;
  return move;
}

struct SanCase {
  const char *name;
  const char *fen;
  const char *uci;
  const char *san;
};

const SanCase WRITTEN[] = {
    {"PawnStep", CChessPosition::START_FEN, "e2e4", "e4"},
    {"KnightMove", CChessPosition::START_FEN, "g1f3", "Nf3"},
    {"DisambiguatedByFile", "4k3/8/8/8/8/8/4K3/R6R w - - 0 1", "a1d1", "Rad1"},
    {"DisambiguatedByRank", "4k3/8/8/R7/8/8/4K3/R7 w - - 0 1", "a1a3", "R1a3"},
    {"DisambiguatedByBothWithThreeQueens", "8/8/8/1k6/4Q2Q/8/8/K6Q w - - 0 1", "h4e1", "Qh4e1"},
    {"PinnedRivalNeedsNoDisambiguation", "4k3/8/8/7R/8/8/r2R2K1/8 w - - 0 1", "h5d5", "Rd5"},
    {"ShortCastling", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "e1g1", "O-O"},
    {"LongCastling", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "e1c1", "O-O-O"},
    {"BlackCastlesShort", "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", "e8g8", "O-O"},
    {"EnPassant", "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1", "e5d6", "exd6"},
    {"PromotionWithCaptureAndCheck", "1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7b8q", "axb8=Q+"},
    {"BlackPromotes", "4k3/8/8/8/8/8/p7/4K3 b - - 0 1", "a2a1q", "a1=Q+"},
    {"Mate", "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4", "h5f7", "Qxf7#"},
    {"CheckByCastlingRook", "5k2/8/8/8/8/8/8/4K2R w K - 0 1", "e1g1", "O-O+"},
};

class SanWriting : public testing::TestWithParam<SanCase> {};

TEST_P(SanWriting, WritesTheMoveAndReadsItBack) {
  const SanCase &c = GetParam();
  CChessPosition position;
  SetUpPosition(position, c.fen);
  std::string error;
  const std::string fenBefore = position.GetFen();
  EXPECT_EQ(CSanNotation::ToSan(position, Uci(c.uci)), c.san);
  EXPECT_EQ(position.GetFen(), fenBefore) << "writing must leave the position alone";
  ChessMove read;
  ASSERT_TRUE(CSanNotation::FromSan(position, c.san, read, error)) << error;
  EXPECT_EQ(read.ToUci(), c.uci);
}

INSTANTIATE_TEST_SUITE_P(Table, SanWriting, testing::ValuesIn(WRITTEN),
                         [](const testing::TestParamInfo<SanCase> &info) { return info.param.name; });

// Forms other programs write, and what the reader makes of them.
const SanCase FORGIVING[] = {
    {"ZeroCastling", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "e1g1", "0-0"},
    {"ZeroLongCastling", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "e1c1", "0-0-0"},
    {"ExtraCheckMark", CChessPosition::START_FEN, "g1f3", "Nf3+"},
    {"MissingCheckMark", "1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7b8q", "axb8=Q"},
    {"PromotionWithoutEquals", "4k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7a8q", "a8Q"},
    {"PromotionPieceMissing", "4k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7a8q", "a8"},
    {"AnnotationMarks", CChessPosition::START_FEN, "e2e4", "e4!?"},
    {"LongFormWithHyphen", CChessPosition::START_FEN, "g1f3", "Ng1-f3"},
    {"NeedlessDisambiguation", CChessPosition::START_FEN, "g1f3", "Ngf3"},
};

class SanReading : public testing::TestWithParam<SanCase> {};

TEST_P(SanReading, AcceptsTheUsualVariants) {
  const SanCase &c = GetParam();
  CChessPosition position;
  SetUpPosition(position, c.fen);
  std::string error;
  ChessMove read;
  ASSERT_TRUE(CSanNotation::FromSan(position, c.san, read, error)) << error;
  EXPECT_EQ(read.ToUci(), c.uci);
}

INSTANTIATE_TEST_SUITE_P(Table, SanReading, testing::ValuesIn(FORGIVING),
                         [](const testing::TestParamInfo<SanCase> &info) { return info.param.name; });

TEST(SanRefusals, NameTheFault) {
  struct Case {
    const char *fen, *san, *reason;
  } cases[] = {
      {CChessPosition::START_FEN, "Xe4", "unknown piece letter 'X'"},
      {CChessPosition::START_FEN, "Ke2", "illegal move \"Ke2\""},
      {CChessPosition::START_FEN, "e5", "illegal move"},
      {CChessPosition::START_FEN, "Nz9", "unexpected character"},
      {"4k3/8/8/8/8/8/4K3/R6R w - - 0 1", "Rd1", "ambiguous move \"Rd1\""},
      {"4k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a8=K", "unknown promotion piece"},
      {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", "O-O", "illegal move"},
  };
  for (const Case &c : cases) {
    CChessPosition position;
    SetUpPosition(position, c.fen);
    std::string error;
    ChessMove move;
    EXPECT_FALSE(CSanNotation::FromSan(position, c.san, move, error)) << c.san;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.san << ": " << error;
  }
}

// Every legal move of each position is written, the names are all different,
// and each reads back to the move it came from.
TEST(SanRoundTrip, EveryLegalMoveReadsBackToItself) {
  const char *fens[] = {
      CChessPosition::START_FEN,
      "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
      "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R b KQkq - 0 1",
      "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
      "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1",
      "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
      "8/8/8/1k6/4Q2Q/8/8/K6Q w - - 0 1",
  };
  for (const char *fen : fens) {
    CChessPosition position;
    std::string error;
    ASSERT_TRUE(position.SetFen(fen, error)) << fen << ": " << error;
    std::set<std::string> names;
    const std::vector<ChessMove> moves = position.LegalMoves();
    ASSERT_FALSE(moves.empty()) << fen;
    for (const ChessMove &move : moves) {
      const std::string san = CSanNotation::ToSan(position, move);
      EXPECT_TRUE(names.insert(san).second) << fen << ": two moves are written " << san;
      ChessMove read;
      ASSERT_TRUE(CSanNotation::FromSan(position, san, read, error)) << fen << " " << san << ": " << error;
      EXPECT_EQ(read, move) << fen << " " << san;
    }
  }
}

TEST(ChessPosition, FenOutMatchesFenInAndMoveCountersFollowThePlay) {
  const char *fens[] = {
      CChessPosition::START_FEN,
      "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w Kq - 3 17",
      "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1",
      "8/8/8/1k6/4Q2Q/8/8/K6Q b - - 12 60",
  };
  for (const char *fen : fens) {
    CChessPosition position;
    std::string error;
    ASSERT_TRUE(position.SetFen(fen, error)) << error;
    EXPECT_EQ(position.GetFen(), fen);
  }
  CChessPosition position;
  for (const char *uci : {"g1f3", "b8c6", "e2e4"})
    ASSERT_TRUE(position.Play(Uci(uci)));
  EXPECT_EQ(position.GetFen(), "r1bqkbnr/pppppppp/2n5/8/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq e3 0 2");
  ASSERT_TRUE(position.Play(Uci("c6d4")));
  EXPECT_FALSE(position.Play(Uci("e1e2"))) << "the knight on d4 guards e2";
  ASSERT_TRUE(position.Play(Uci("f1e2")));
  EXPECT_EQ(position.GetFen(), "r1bqkbnr/pppppppp/8/8/3nP3/5N2/PPPPBPPP/RNBQK2R b KQkq - 2 3");
  EXPECT_FALSE(position.Play(Uci("d4d4"))) << "not a legal move";
}

TEST(ChessPosition, RefusesPositionsThatCannotArise) {
  struct Case {
    const char *fen, *reason;
  } cases[] = {
      {"4k3/8/8/8/8/8/8/4K2R b - - 0 1", ""}, // legal: the side to move is in check, not the other
      {"4k3/8/8/8/8/8/8/4K2R w - - 0 1", ""},
      {"4k2R/8/8/8/8/8/8/4K3 w - - 0 1", "not to move is in check"},
      {"4k3/8/8/8/8/8/8/4K3 w - - x 1", "move counters"},
      {"4k3/8/8/8/8/8/8/4K3 w - - 0 0", "move counters"},
      {"4k3/8/8/8/8/8/8/4K3 w - - 0 1 extra", "more than six fields"},
      {"4kk2/8/8/8/8/8/8/4K3 w - - 0 1", "exactly one king"},
      {"QQQQQQQQ/QQQQQQQQ/QQ6/8/8/8/8/k3K3 w - - 0 1", "more pieces"},
  };
  for (const Case &c : cases) {
    CChessPosition position;
    std::string error;
    const bool accepted = position.SetFen(c.fen, error);
    if (*c.reason == '\0') {
      EXPECT_TRUE(accepted) << c.fen << ": " << error;
      continue;
    }
    EXPECT_FALSE(accepted) << c.fen;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.fen << ": " << error;
    EXPECT_EQ(position.GetFen(), CChessPosition::START_FEN) << "a refused FEN changes nothing";
  }
}

} // namespace
