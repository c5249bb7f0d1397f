// The end of a game judged on the record: every ending, the order in which
// they are checked, and their near misses.
#include "chess/CGameJudge.h"
#include "chess/CGameRecord.h"
#include "tests/unit/chess/ChessTestSupport.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <sstream>

using namespace chess;

namespace {

const int DRAW = GameVerdict::NO_WINNER;
const char *const START_CLOCK_99 = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 99 1";

struct EndingCase {
  const char *rule, *fen, *line;
  GameEnd ending;
  int winner;
};

const EndingCase ENDINGS[] = {
    // Mate and stalemate.
    {"fool's mate", Position::START_FEN, "f2f3 e7e5 g2g4 d8h4", GameEnd::Checkmate, Black},
    {"back rank mate", "6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1", "a1a8", GameEnd::Checkmate, White},
    {"check that can be answered", "6k1/5pp1/8/8/8/8/8/R5K1 w - - 0 1", "a1a8", GameEnd::None, DRAW},
    {"stalemate, the bishop pinned", "k1b4R/P7/1K6/8/8/8/8/8 b - - 0 1", "", GameEnd::Stalemate, DRAW},
    {"no stalemate, the bishop free", "k1b5/P6R/1K6/8/8/8/8/8 b - - 0 1", "", GameEnd::None, DRAW},
    {"stalemate by a move", "7k/8/6K1/8/8/8/8/5Q2 w - - 0 1", "f1f7", GameEnd::Stalemate, DRAW},
    {"shortest stalemate from the start", Position::START_FEN,
     "e2e3 a7a5 d1h5 a8a6 h5a5 h7h5 h2h4 a6h6 a5c7 f7f6 c7d7 e8f7 d7b7 d8d3 b7b8 d3h7 b8c8 f7g6 c8e6",
     GameEnd::Stalemate, DRAW},
    // Mate and stalemate come before every draw by rule.
    {"mate on the hundredth quiet ply", "6k1/5ppp/8/8/8/8/8/R5K1 w - - 99 1", "a1a8", GameEnd::Checkmate, White},
    {"stalemate with a lone bishop", "k7/8/1K6/8/8/8/7B/8 b - - 0 1", "", GameEnd::Stalemate, DRAW},
    // Insufficient material.
    {"king against king after a capture", "4k3/8/8/8/8/8/3q4/4K3 w - - 0 1", "e1d2", GameEnd::InsufficientMaterial,
     DRAW},
    {"king and bishop against king", "4k3/8/8/8/8/8/8/2B1K3 w - - 0 1", "e1e2", GameEnd::InsufficientMaterial, DRAW},
    {"king and knight against king", "4k3/8/8/8/8/8/8/1N2K3 w - - 0 1", "e1e2", GameEnd::InsufficientMaterial, DRAW},
    {"black's lone knight", "4k3/8/8/8/8/8/8/1n2K3 w - - 0 1", "e1e2", GameEnd::InsufficientMaterial, DRAW},
    {"bishops of both sides on dark squares", "4kb2/8/8/8/8/8/8/2B1K3 w - - 0 1", "e1e2", GameEnd::InsufficientMaterial,
     DRAW},
    {"three bishops on light squares", "4k3/8/8/8/8/8/8/1B1BKB2 w - - 0 1", "e1e2", GameEnd::InsufficientMaterial,
     DRAW},
    {"promotion to a lone knight", "4k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7a8n", GameEnd::InsufficientMaterial, DRAW},
    {"bishops on both colours", "4k3/8/8/8/8/8/8/2B1KB2 w - - 0 1", "e1e2", GameEnd::None, DRAW},
    {"bishops of both sides on both colours", "4k1b1/8/8/8/8/8/8/2B1K3 w - - 0 1", "e1e2", GameEnd::None, DRAW},
    {"two knights", "4k3/8/8/8/8/8/8/1N2K1N1 w - - 0 1", "e1e2", GameEnd::None, DRAW},
    {"a knight each", "1n2k3/8/8/8/8/8/8/1N2K3 w - - 0 1", "e1e2", GameEnd::None, DRAW},
    {"knight and bishop", "4k3/8/8/8/8/8/8/1NB1K3 w - - 0 1", "e1e2", GameEnd::None, DRAW},
    {"a pawn left", "4k3/8/8/8/8/8/P7/4K3 w - - 0 1", "e1e2", GameEnd::None, DRAW},
    {"a rook left", "4k3/8/8/8/8/8/8/R3K3 w - - 0 1", "e1e2", GameEnd::None, DRAW},
    // Threefold repetition.
    {"third time the start position", Position::START_FEN, "g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1 f6g8",
     GameEnd::Repetition, DRAW},
    {"only the second time", Position::START_FEN, "g1f3 g8f6 f3g1 f6g8", GameEnd::None, DRAW},
    {"third time by other move orders", Position::START_FEN,
     "g1f3 g8f6 b1c3 b8c6 f3g1 f6g8 c3b1 c6b8 b1c3 b8c6 g1f3 g8f6 c3b1 c6b8 f3g1 f6g8", GameEnd::Repetition, DRAW},
    {"three times, but castling rights lost after the first", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1",
     "e1f1 e8f8 f1e1 f8e8 e1f1 e8f8 f1e1 f8e8", GameEnd::None, DRAW},
    // The first time the position stood, an en-passant capture was legal:
    // it is not the same position as the later ones.
    {"first time with en passant, then twice", Position::START_FEN,
     "e2e4 b8c6 e4e5 d7d5 g1f3 c6b8 f3g1 b8c6 g1f3 c6b8 f3g1 b8c6", GameEnd::None, DRAW},
    {"first time with en passant, then three times", Position::START_FEN,
     "e2e4 b8c6 e4e5 d7d5 g1f3 c6b8 f3g1 b8c6 g1f3 c6b8 f3g1 b8c6 g1f3 c6b8 f3g1 b8c6", GameEnd::Repetition, DRAW},
    // A double step no pawn can answer en passant leaves the same position.
    {"double step without an en-passant capture", Position::START_FEN,
     "g1f3 d7d5 f3g1 g8f6 g1f3 f6g8 f3g1 g8f6 g1f3 f6g8", GameEnd::Repetition, DRAW},
    {"double step beside a pawn pinned on the rank", "8/8/8/8/R2p3k/8/4P3/4K3 w - - 0 1",
     "e2e4 h4h5 a4a3 h5h4 a3a4 h4h5 a4a3 h5h4 a3a4", GameEnd::Repetition, DRAW},
    // The fifty-move rule.
    {"hundredth quiet ply", START_CLOCK_99, "g1f3", GameEnd::FiftyMoves, DRAW},
    {"ninety-ninth quiet ply", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 98 1", "g1f3", GameEnd::None,
     DRAW},
    {"pawn move resets the clock", START_CLOCK_99, "e2e4", GameEnd::None, DRAW},
    {"capture resets the clock", "4k3/8/8/3p4/8/8/8/3QK3 w - - 98 1", "d1d5", GameEnd::None, DRAW},
};

// A failing case is named by its rule.
void PrintTo(const EndingCase &c, std::ostream *out) { *out << c.rule; }

class GameJudgeTest : public testing::TestWithParam<EndingCase> {};

TEST_P(GameJudgeTest, EndingsAndTheirNearMisses) {
  const EndingCase &c = GetParam();
  CGameRecord record;
  record.Start(chess_testing::FromFen(c.fen));
  std::istringstream moves(c.line);
  std::string move;
  while (moves >> move)
    ASSERT_TRUE(record.Play(chess_testing::Uci(move))) << c.rule << ": " << move;
  const GameVerdict verdict = CGameJudge::Judge(record);
  EXPECT_EQ(verdict.reason, c.ending) << c.rule << " at " << record.GetPosition().GetFen();
  EXPECT_EQ(verdict.winner, c.winner) << c.rule;
}

// Test names from the rule: letters and digits, the rest as "_".
std::string TestName(const testing::TestParamInfo<EndingCase> &info) {
  std::string name;
  for (const char *c = info.param.rule; *c; ++c)
    name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Table, GameJudgeTest, testing::ValuesIn(ENDINGS), TestName);

TEST(GameVerdictTest, TextsNameResultAndReason) {
  const struct {
    GameVerdict verdict;
    const char *result, *reason;
  } cases[] = {
      {CGameJudge::Resign(White), "0-1", "resignation"},
      {CGameJudge::Resign(Black), "1-0", "resignation"},
      {GameVerdict{GameEnd::Checkmate, White}, "1-0", "checkmate"},
      {GameVerdict{GameEnd::Stalemate, DRAW}, "1/2-1/2", "stalemate"},
      {GameVerdict{GameEnd::Repetition, DRAW}, "1/2-1/2", "repetition"},
      {GameVerdict{GameEnd::InsufficientMaterial, DRAW}, "1/2-1/2", "insufficient material"},
      {GameVerdict{GameEnd::FiftyMoves, DRAW}, "1/2-1/2", "fifty moves"},
      {CGameJudge::Recorded("0-1"), "0-1", "as recorded"},
      {CGameJudge::Recorded("1/2-1/2"), "1/2-1/2", "as recorded"},
      {CGameJudge::Recorded("*"), "*", ""},
      {GameVerdict{}, "*", ""},
  };
  for (const auto &c : cases) {
    EXPECT_STREQ(c.verdict.ResultText(), c.result);
    EXPECT_STREQ(c.verdict.ReasonText(), c.reason);
  }
}

} // namespace
