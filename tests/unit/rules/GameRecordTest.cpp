// The game record and the end-of-game judgement on boards set up from FEN:
// repetition keys, the half-move clock, taking moves back, and every ending
// with its near misses.
#include "rules/CGameJudge.h"
#include "rules/CGameRecord.h"
#include "tests/unit/rules/RulesTestSupport.h"

#include <sstream>

using namespace rules_testing;

namespace {

const char *const START = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
const char *const KNIGHT_SHUFFLE = "g1f3 g8f6 f3g1 f6g8";

// A FEN board with a record started on it; the FEN's clock field is used.
struct RecordedBoard : FenBoard {
  CGameRecord record;
  explicit RecordedBoard(const char *fen, irr::s32 clock = 0) : FenBoard(fen) { record.Start(map, side, clock); }

  // Plays "e2e4 e7e5 ..." through the record; false at the first refusal.
  bool PlayLine(const std::string &line) {
    std::istringstream moves(line);
    std::string move;
    while (moves >> move)
      if (!record.Play(map, Sq(move.substr(0, 2).c_str()), Sq(move.substr(2, 2).c_str())))
        return false;
    return true;
  }
  GameEnd Ending() const { return CGameJudge::Judge(map, record).reason; }
};

} // namespace

TEST(RepetitionKeyTest, SamePositionOnlyWithSameRightsAndCapturableEnPassant) {
  struct Case {
    const char *rule, *fen, *line;
    bool sameAsStart;
  } cases[] = {
      {"knights out and back", START, KNIGHT_SHUFFLE, true},
      {"rooks out and back lose castling", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "a1b1 a8b8 b1a1 b8a8", false},
      {"king out and back loses castling", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "e1f1 e8f8 f1e1 f8e8", false},
      {"side to move differs", "4k3/8/8/8/8/8/8/R3K3 w - - 0 1", "a1a2 e8d8 a2a1 d8e8 e1d1", false},
  };
  for (const Case &c : cases) {
    RecordedBoard board(c.fen);
    const std::string start = board.record.GetCurrentKey();
    ASSERT_TRUE(board.PlayLine(c.line)) << c.rule;
    EXPECT_EQ(board.record.GetCurrentKey() == start, c.sameAsStart) << c.rule;
  }
}

TEST(RepetitionKeyTest, EnPassantSquareCountsOnlyWhenTheCaptureIsLegal) {
  struct Case {
    const char *rule, *fen, *move;
    bool counted;
  } cases[] = {
      {"pawn beside can take", "4k3/8/8/8/3p4/8/4P3/4K3 w - - 0 1", "e2e4", true},
      {"no pawn beside", "4k3/8/8/8/8/8/4P3/4K3 w - - 0 1", "e2e4", false},
      {"capture would expose the king on the rank", "8/8/8/8/R2p3k/8/4P3/4K3 w - - 0 1", "e2e4", false},
      {"black double step, white takes", "4k3/4p3/8/3P4/8/8/8/4K3 b - - 0 1", "e7e5", true},
  };
  for (const Case &c : cases) {
    RecordedBoard board(c.fen);
    ASSERT_TRUE(board.PlayLine(c.move)) << c.rule;
    const std::string key = board.record.GetCurrentKey();
    EXPECT_EQ(key.substr(key.size() - 2) != " -", c.counted) << c.rule << ": " << key;
  }
}

TEST(GameRecordTest, HalfMoveClockCountsQuietPliesAndResetsOnCaptureOrPawnMove) {
  RecordedBoard board(START);
  const struct {
    const char *move;
    irr::s32 clock;
  } steps[] = {{"g1f3", 1}, {"b8c6", 2}, {"f3g5", 3}, {"e7e6", 0}, {"g5f7", 0}, {"e8f7", 0}, {"b1c3", 1}};
  for (const auto &step : steps) {
    ASSERT_TRUE(board.PlayLine(step.move)) << step.move;
    EXPECT_EQ(board.record.GetHalfMoveClock(), step.clock) << step.move;
  }
  EXPECT_EQ(board.record.GetMoveTexts(),
            (std::vector<std::string>{"g1f3", "b8c6", "f3g5", "e7e6", "g5f7", "e8f7", "b1c3"}));
}

TEST(GameRecordTest, PlayRefusesTheWrongSideAndIllegalMovesWithoutChange) {
  RecordedBoard board(START);
  const std::string before = DescribeBoard(board.map);
  EXPECT_FALSE(board.PlayLine("e7e5")) << "black to move first";
  EXPECT_FALSE(board.PlayLine("e2e5")) << "not a legal target";
  EXPECT_FALSE(board.PlayLine("e3e4")) << "empty square";
  EXPECT_EQ(board.record.GetPlyCount(), 0u);
  EXPECT_EQ(DescribeBoard(board.map), before);
  EXPECT_FALSE(board.record.Undo(board.map)) << "nothing to take back";
}

TEST(TakeBackTest, UndoingEveryMoveRestoresBoardKeyAndClock) {
  struct Case {
    const char *rule, *fen, *line, *text;
  } cases[] = {
      {"capture", START, "e2e4 d7d5 e4d5", "e4d5"},
      {"en passant", START, "e2e4 a7a6 e4e5 d7d5 e5d6", "e5d6"},
      {"castling king side", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "e1g1 e8c8", "e8c8"},
      {"promotion with capture", "1n2k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7b8", "a7b8q"},
      {"mate", START, "f2f3 e7e5 g2g4 d8h4", "d8h4"},
  };
  for (const Case &c : cases) {
    RecordedBoard board(c.fen, 7);
    const std::string start = DescribeBoard(board.map), startKey = board.record.GetCurrentKey();
    std::vector<std::string> steps{start};
    std::istringstream moves(c.line);
    std::string move;
    while (moves >> move) {
      ASSERT_TRUE(board.PlayLine(move)) << c.rule << " " << move;
      board.map.ClearSelection(); // a take back leaves nothing selected
      steps.push_back(DescribeBoard(board.map));
    }
    EXPECT_EQ(board.record.GetMoveTexts().back(), c.text) << c.rule;
    // Each take back lands exactly on the position before the move.
    for (size_t n = steps.size() - 1; n > 0; --n) {
      ASSERT_TRUE(board.record.Undo(board.map)) << c.rule;
      EXPECT_EQ(DescribeBoard(board.map), steps[n - 1]) << c.rule << " back to ply " << n - 1;
    }
    EXPECT_EQ(board.record.GetCurrentKey(), startKey) << c.rule;
    EXPECT_EQ(board.record.GetHalfMoveClock(), 7) << c.rule;
    EXPECT_EQ(board.record.GetSideToMove(), board.side) << c.rule;
  }
}

TEST(TakeBackTest, PromotedPieceBecomesAPawnAndTheGameGoesOnDifferently) {
  RecordedBoard board("1n2k3/P7/8/8/8/8/8/4K3 w - - 0 1");
  ASSERT_TRUE(board.PlayLine("a7a8"));
  const irr::s32 promoted = TokenOn(board.map, "a8");
  EXPECT_EQ(board.map.GetToken(promoted)->GetType(), Queen);
  ASSERT_TRUE(board.record.Undo(board.map));
  EXPECT_EQ(board.map.GetToken(promoted)->GetType(), Pawn);
  EXPECT_EQ(TokenOn(board.map, "a7"), promoted);
  // A different move after the take back: the capture that promotes.
  ASSERT_TRUE(board.PlayLine("a7b8 e8d7"));
  EXPECT_EQ(board.record.GetMoveTexts(), (std::vector<std::string>{"a7b8q", "e8d7"}));
  EXPECT_EQ(board.map.GetToken(TokenOn(board.map, "b8"))->GetType(), Queen);
}

TEST(GameJudgeTest, EndingsAndTheirNearMisses) {
  struct Case {
    const char *rule, *fen, *line;
    irr::s32 clock;
    GameEnd ending;
    irr::s32 winner;
  } cases[] = {
      {"fool's mate", START, "f2f3 e7e5 g2g4 d8h4", 0, GameEnd::Checkmate, Black},
      {"back rank mate", "6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1", "a1a8", 0, GameEnd::Checkmate, White},
      {"stalemate, the bishop pinned", "k1b4R/P7/1K6/8/8/8/8/8 b - - 0 1", "", 0, GameEnd::Stalemate, -1},
      {"no stalemate, the bishop free", "k1b5/P6R/1K6/8/8/8/8/8 b - - 0 1", "", 0, GameEnd::None, -1},
      {"stalemate by a move", "7k/8/6K1/8/8/8/8/5Q2 w - - 0 1", "f1f7", 0, GameEnd::Stalemate, -1},
      {"shortest stalemate from the start", START,
       "e2e3 a7a5 d1h5 a8a6 h5a5 h7h5 h2h4 a6h6 a5c7 f7f6 c7d7 e8f7 d7b7 d8d3 b7b8 d3h7 b8c8 f7g6 c8e6", 0,
       GameEnd::Stalemate, -1},
      {"third time the start position", START, "g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1 f6g8", 0, GameEnd::Repetition, -1},
      {"only the second time", START, "g1f3 g8f6 f3g1 f6g8", 0, GameEnd::None, -1},
      {"three times, but castling rights lost after the first", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1",
       "e1f1 e8f8 f1e1 f8e8 e1f1 e8f8 f1e1 f8e8", 0, GameEnd::None, -1},
      {"hundredth quiet ply", START, "g1f3", 99, GameEnd::FiftyMoves, -1},
      {"pawn move resets the clock", START, "e2e4", 99, GameEnd::None, -1},
      {"capture resets the clock", "4k3/8/8/3p4/8/8/8/3QK3 w - - 98 1", "d1d5", 98, GameEnd::None, -1},
      {"king against king after a capture", "4k3/8/8/8/8/8/3q4/4K3 w - - 0 1", "e1d2", 0, GameEnd::InsufficientMaterial,
       -1},
      {"king and bishop against king", "4k3/8/8/8/8/8/8/2B1K3 w - - 0 1", "e1e2", 0, GameEnd::InsufficientMaterial, -1},
      {"king and knight against king", "4k3/8/8/8/8/8/8/1N2K3 w - - 0 1", "e1e2", 0, GameEnd::InsufficientMaterial, -1},
      {"bishops of both sides on dark squares", "4kb2/8/8/8/8/8/8/2B1K3 w - - 0 1", "e1e2", 0,
       GameEnd::InsufficientMaterial, -1},
      {"bishops on both colours", "4k3/8/8/8/8/8/8/2B1KB2 w - - 0 1", "e1e2", 0, GameEnd::None, -1},
      {"two knights", "4k3/8/8/8/8/8/8/1N2K1N1 w - - 0 1", "e1e2", 0, GameEnd::None, -1},
      {"knight and bishop", "4k3/8/8/8/8/8/8/1NB1K3 w - - 0 1", "e1e2", 0, GameEnd::None, -1},
      {"a pawn left", "4k3/8/8/8/8/8/P7/4K3 w - - 0 1", "e1e2", 0, GameEnd::None, -1},
  };
  for (const Case &c : cases) {
    RecordedBoard board(c.fen, c.clock);
    ASSERT_TRUE(board.PlayLine(c.line)) << c.rule;
    const GameVerdict verdict = CGameJudge::Judge(board.map, board.record);
    EXPECT_EQ(verdict.reason, c.ending) << c.rule;
    EXPECT_EQ(verdict.winner, c.winner) << c.rule;
  }
}

TEST(GameJudgeTest, VerdictTextsNameResultAndReason) {
  const struct {
    GameVerdict verdict;
    const char *result, *reason;
  } cases[] = {
      {CGameJudge::Resign(White), "0-1", "resignation"},
      {CGameJudge::Resign(Black), "1-0", "resignation"},
      {GameVerdict{GameEnd::Stalemate, GameVerdict::NO_WINNER}, "1/2-1/2", "stalemate"},
      {GameVerdict{GameEnd::InsufficientMaterial, GameVerdict::NO_WINNER}, "1/2-1/2", "insufficient material"},
      {GameVerdict{GameEnd::FiftyMoves, GameVerdict::NO_WINNER}, "1/2-1/2", "fifty moves"},
      {GameVerdict{}, "*", ""},
  };
  for (const auto &c : cases) {
    EXPECT_STREQ(c.verdict.ResultText(), c.result);
    EXPECT_STREQ(c.verdict.ReasonText(), c.reason);
  }
}
