// A fallen flag: lost on time, unless the other side could never mate by any
// series of legal moves (FIDE Laws 6.9), which draws.
#include "chess/CGameJudge.h"
#include "tests/unit/chess/ChessTestSupport.h"

#include <gtest/gtest.h>

using namespace chess;

namespace {

const int DRAW = GameVerdict::NO_WINNER;

const struct FlagCase {
  const char *rule, *fen;
  int flagged;
  GameEnd ending;
  int winner;
} FLAGS[] = {
    {"a lone king cannot win", "4k3/8/8/8/8/8/q7/4K3 b - - 0 1", Black, GameEnd::TimeForfeitInsufficientMaterial, DRAW},
    {"everything against a lone king", "4k3/8/8/8/8/8/8/RNBQK3 w - - 0 1", White,
     GameEnd::TimeForfeitInsufficientMaterial, DRAW},
    {"the other side's queen is there", "4k3/8/8/8/8/8/8/RNBQK3 b - - 0 1", Black, GameEnd::TimeForfeit, White},
    {"the start position", Position::START_FEN, White, GameEnd::TimeForfeit, Black},
    {"knight against lone king", "4k3/8/8/8/8/8/8/1N2K3 b - - 0 1", Black, GameEnd::TimeForfeitInsufficientMaterial,
     DRAW},
    {"knight against king and pawn", "4k3/4p3/8/8/8/8/8/1N2K3 b - - 0 1", Black, GameEnd::TimeForfeit, White},
    {"knight against king and queen", "4k3/8/8/8/8/8/q7/1N2K3 b - - 0 1", Black, GameEnd::TimeForfeit, White},
    {"knight against knight", "1n2k3/8/8/8/8/8/8/1N2K3 b - - 0 1", Black, GameEnd::TimeForfeit, White},
    {"knight against bishop", "2b1k3/8/8/8/8/8/8/1N2K3 w - - 0 1", White, GameEnd::TimeForfeit, Black},
    {"bishop against knight", "1n2k3/8/8/8/8/8/8/2B1K3 b - - 0 1", Black, GameEnd::TimeForfeit, White},
    {"bishop against king and pawn", "4k3/4p3/8/8/8/8/8/2B1K3 b - - 0 1", Black, GameEnd::TimeForfeit, White},
    {"bishop against lone king", "4k3/8/8/8/8/8/8/2B1K3 b - - 0 1", Black, GameEnd::TimeForfeitInsufficientMaterial,
     DRAW},
    {"bishops on the same colour", "4kb2/8/8/8/8/8/8/2B1K3 b - - 0 1", Black, GameEnd::TimeForfeitInsufficientMaterial,
     DRAW},
    {"two bishops on one colour against one on it", "5b2/4k3/8/8/8/4B3/8/2B1K3 b - - 0 1", Black,
     GameEnd::TimeForfeitInsufficientMaterial, DRAW},
    {"bishops on opposite colours", "2b1k3/8/8/8/8/8/8/2B1K3 b - - 0 1", Black, GameEnd::TimeForfeit, White},
    {"two bishops on one colour against one on the other", "2b1k3/8/8/8/8/4B3/8/2B1K3 b - - 0 1", Black,
     GameEnd::TimeForfeit, White},
    {"bishops on both colours", "4k3/8/8/8/8/8/8/2B1KB2 b - - 0 1", Black, GameEnd::TimeForfeit, White},
    {"two knights", "4k3/8/8/8/8/8/8/1N2KN2 b - - 0 1", Black, GameEnd::TimeForfeit, White},
    {"bishop and knight", "4k3/8/8/8/8/8/8/1NB1K3 b - - 0 1", Black, GameEnd::TimeForfeit, White},
    {"a pawn", "4k3/8/8/8/8/8/P7/4K3 b - - 0 1", Black, GameEnd::TimeForfeit, White},
    {"a rook", "4k3/8/8/8/8/8/8/R3K3 b - - 0 1", Black, GameEnd::TimeForfeit, White},
    {"black's knight against a white pawn", "1n2k3/8/8/8/8/8/P7/4K3 w - - 0 1", White, GameEnd::TimeForfeit, Black},
    {"black's knight against a lone white king", "1n2k3/8/8/8/8/8/8/4K3 w - - 0 1", White,
     GameEnd::TimeForfeitInsufficientMaterial, DRAW},
};

TEST(FlagFellTest, LostOnTimeUnlessTheOtherSideCouldNeverMate) {
  for (const FlagCase &c : FLAGS) {
    const GameVerdict verdict = CGameJudge::FlagFell(c.flagged, chess_testing::FromFen(c.fen));
    EXPECT_EQ(verdict.reason, c.ending) << c.rule;
    EXPECT_EQ(verdict.winner, c.winner) << c.rule;
    const bool drawn = c.ending == GameEnd::TimeForfeitInsufficientMaterial;
    EXPECT_STREQ(verdict.ReasonText(), drawn ? "time forfeit, insufficient material" : "time forfeit") << c.rule;
    EXPECT_STREQ(verdict.ResultText(), drawn ? "1/2-1/2" : c.winner == White ? "1-0" : "0-1") << c.rule;
  }
  // No side, no verdict.
  EXPECT_FALSE(CGameJudge::FlagFell(-1, Position()).IsOver());
}

} // namespace
