// The game record on positions set up from FEN: what each played move tells
// a picture of the board, repetition keys, the half-move clock, and taking
// moves back to the record's start and no further.
#include "chess/CGameRecord.h"
#include "tests/unit/chess/ChessTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace chess;
using chess_testing::FromFen;
using chess_testing::Sq;

namespace {

const char *const CASTLING = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1";
const char *const KNIGHT_SHUFFLE = "g1f3 g8f6 f3g1 f6g8";

// Plays "e2e4 e7e5 ..." through the record (promotions as a queen); false at
// the first refusal.
bool PlayLine(CGameRecord &record, const std::string &line) {
  std::istringstream moves(line);
  std::string move;
  while (moves >> move)
    if (!record.Play(chess_testing::Uci(move)))
      return false;
  return true;
}

// A record started at the FEN.
CGameRecord RecordAt(const char *fen) {
  CGameRecord record;
  record.Start(FromFen(fen));
  return record;
}

// What the record's position and counters look like, for before/after checks.
std::string Describe(const CGameRecord &record) {
  std::ostringstream out;
  out << record.GetPosition().GetFen() << " key " << record.GetCurrentKey() << " plies " << record.GetPlyCount()
      << " repeated " << record.CountRepetitions();
  return out.str();
}

} // namespace

TEST(PlayedMoveTest, TellsPieceCaptureAndRookFromThePositionBefore) {
  const int NONE = PlayedMove::NONE;
  struct Case {
    const char *rule, *fen, *line, *from, *to;
    int askedPromotion;
    int piece, color, promotion, captured;
    const char *capturedSquare; // "" when nothing is taken
    bool enPassant;
    const char *rookFrom, *rookTo; // "" when the king does not castle
    const char *text;
  } cases[] = {
      {"quiet knight move", Position::START_FEN, "", "g1", "f3", Queen, Knight, White, NONE, NONE, "", false, "", "",
       "g1f3"},
      {"pawn takes pawn", Position::START_FEN, "e2e4 d7d5", "e4", "d5", Queen, Pawn, White, NONE, Pawn, "d5", false, "",
       "", "e4d5"},
      {"en passant takes the pawn beside", Position::START_FEN, "e2e4 a7a6 e4e5 d7d5", "e5", "d6", Queen, Pawn, White,
       NONE, Pawn, "d5", true, "", "", "e5d6"},
      {"black en passant", "4k3/8/8/8/3p4/8/4P3/4K3 w - - 0 1", "e2e4", "d4", "e3", Queen, Pawn, Black, NONE, Pawn,
       "e4", true, "", "", "d4e3"},
      {"white castles king side", CASTLING, "", "e1", "g1", Queen, King, White, NONE, NONE, "", false, "h1", "f1",
       "e1g1"},
      {"black castles queen side", CASTLING, "a1b1", "e8", "c8", Queen, King, Black, NONE, NONE, "", false, "a8", "d8",
       "e8c8"},
      {"king steps one square", CASTLING, "", "e1", "f1", Queen, King, White, NONE, NONE, "", false, "", "", "e1f1"},
      {"promotion with capture", "1n2k3/P7/8/8/8/8/8/4K3 w - - 0 1", "", "a7", "b8", Queen, Pawn, White, Queen, Knight,
       "b8", false, "", "", "a7b8q"},
      {"under-promotion to a knight", "4k3/P7/8/8/8/8/8/4K3 w - - 0 1", "", "a7", "a8", Knight, Pawn, White, Knight,
       NONE, "", false, "", "", "a7a8n"},
      {"black under-promotes to a rook", "4k3/8/8/8/8/8/p7/4K3 b - - 0 1", "", "a2", "a1", Rook, Pawn, Black, Rook,
       NONE, "", false, "", "", "a2a1r"},
      {"a king asked for becomes a queen", "4k3/P7/8/8/8/8/8/4K3 w - - 0 1", "", "a7", "a8", King, Pawn, White, Queen,
       NONE, "", false, "", "", "a7a8q"},
      {"no piece asked for becomes a queen", "4k3/P7/8/8/8/8/8/4K3 w - - 0 1", "", "a7", "a8", Pawn, Pawn, White, Queen,
       NONE, "", false, "", "", "a7a8q"},
      {"a piece asked for off the last rank is ignored", Position::START_FEN, "", "e2", "e4", Knight, Pawn, White, NONE,
       NONE, "", false, "", "", "e2e4"},
  };
  for (const Case &c : cases) {
    CGameRecord record = RecordAt(c.fen);
    ASSERT_TRUE(PlayLine(record, c.line)) << c.rule;
    ASSERT_TRUE(record.Play(Sq(c.from), Sq(c.to), c.askedPromotion)) << c.rule;
    const PlayedMove &move = record.GetMove(record.GetPlyCount() - 1);
    EXPECT_EQ(move.from, Sq(c.from)) << c.rule;
    EXPECT_EQ(move.to, Sq(c.to)) << c.rule;
    EXPECT_EQ(move.piece, c.piece) << c.rule;
    EXPECT_EQ(move.color, c.color) << c.rule;
    EXPECT_EQ(move.promotion, c.promotion) << c.rule;
    EXPECT_EQ(move.captured, c.captured) << c.rule;
    if (*c.capturedSquare) {
      EXPECT_EQ(move.capturedSquare, Sq(c.capturedSquare)) << c.rule;
    }
    EXPECT_EQ(move.enPassant, c.enPassant) << c.rule;
    EXPECT_EQ(move.castling, *c.rookFrom != '\0') << c.rule;
    if (*c.rookFrom) {
      EXPECT_EQ(move.rookFrom, Sq(c.rookFrom)) << c.rule;
      EXPECT_EQ(move.rookTo, Sq(c.rookTo)) << c.rule;
    }
    EXPECT_EQ(move.ToText(), c.text) << c.rule;
    EXPECT_EQ(record.GetMoves().back(), move.ToMove()) << c.rule;
  }
}

TEST(RepetitionKeyTest, SamePositionOnlyWithSameRightsAndCapturableEnPassant) {
  struct Case {
    const char *rule, *fen, *line;
    bool sameAsStart;
  } cases[] = {
      {"knights out and back", Position::START_FEN, KNIGHT_SHUFFLE, true},
      {"rooks out and back lose castling", CASTLING, "a1b1 a8b8 b1a1 b8a8", false},
      {"king out and back loses castling", CASTLING, "e1f1 e8f8 f1e1 f8e8", false},
      {"side to move differs", "4k3/8/8/8/8/8/8/R3K3 w - - 0 1", "a1a2 e8d8 a2a1 d8e8 e1d1", false},
  };
  for (const Case &c : cases) {
    CGameRecord record = RecordAt(c.fen);
    const std::uint64_t start = record.GetCurrentKey();
    ASSERT_TRUE(PlayLine(record, c.line)) << c.rule;
    EXPECT_EQ(record.GetCurrentKey() == start, c.sameAsStart) << c.rule;
  }
}

TEST(GameRecordTest, HalfMoveClockCountsQuietPliesAndResetsOnCaptureOrPawnMove) {
  CGameRecord record;
  const struct {
    const char *move;
    int clock;
  } steps[] = {{"g1f3", 1}, {"b8c6", 2}, {"f3g5", 3}, {"e7e6", 0}, {"g5f7", 0}, {"e8f7", 0}, {"b1c3", 1}};
  for (const auto &step : steps) {
    ASSERT_TRUE(PlayLine(record, step.move)) << step.move;
    EXPECT_EQ(record.GetHalfMoveClock(), step.clock) << step.move;
  }
  EXPECT_EQ(record.GetMoveTexts(), (std::vector<std::string>{"g1f3", "b8c6", "f3g5", "e7e6", "g5f7", "e8f7", "b1c3"}));
}

TEST(GameRecordTest, PlayRefusesTheWrongSideAndIllegalMovesWithoutChange) {
  CGameRecord record;
  const std::string before = Describe(record);
  const struct {
    const char *rule;
    Square from, to;
  } refused[] = {
      {"black to move first", Sq("e7"), Sq("e5")},
      {"not a legal target", Sq("e2"), Sq("e5")},
      {"empty square", Sq("e3"), Sq("e4")},
      {"off the board", Square(4, 1), Square(4, 8)},
      {"from off the board", Square(-1, 0), Sq("a3")},
  };
  for (const auto &c : refused) {
    EXPECT_FALSE(record.Play(c.from, c.to)) << c.rule;
    EXPECT_EQ(Describe(record), before) << c.rule;
  }
  EXPECT_FALSE(record.Undo()) << "nothing to take back";
}

// A record begun at a position reached by moves takes back only its own.
TEST(GameRecordTest, StartBeginsAtThePositionWithoutItsEarlierMoves) {
  Position reached;
  for (const char *uci : {"e2e4", "e7e5"})
    ASSERT_TRUE(reached.Play(chess_testing::Uci(uci)));
  CGameRecord record;
  ASSERT_TRUE(PlayLine(record, "d2d4"));
  record.Start(reached);
  EXPECT_EQ(record.GetPlyCount(), 0u);
  EXPECT_FALSE(record.Undo()) << "the moves before Start are not the record's";
  EXPECT_EQ(record.GetPosition().GetFen(), reached.GetFen());
  ASSERT_TRUE(PlayLine(record, "g1f3"));
  ASSERT_TRUE(record.Undo());
  EXPECT_FALSE(record.Undo());
  EXPECT_EQ(record.GetPosition().GetFen(), reached.GetFen());
  EXPECT_EQ(record.GetStartPosition().GetFen(), reached.GetFen());
  EXPECT_EQ(record.CountRepetitions(), 1);
}

TEST(TakeBackTest, UndoingEveryMoveRestoresPositionKeyAndClock) {
  struct Case {
    const char *rule, *fen, *line, *text;
  } cases[] = {
      {"capture", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 7 1", "e2e4 d7d5 e4d5", "e4d5"},
      {"en passant", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 7 1", "e2e4 a7a6 e4e5 d7d5 e5d6", "e5d6"},
      {"castling both sides", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 7 1", "e1g1 e8c8", "e8c8"},
      {"promotion with capture", "1n2k3/P7/8/8/8/8/8/4K3 w - - 7 1", "a7b8", "a7b8q"},
      {"mate", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 7 1", "f2f3 e7e5 g2g4 d8h4", "d8h4"},
  };
  for (const Case &c : cases) {
    CGameRecord record = RecordAt(c.fen);
    std::vector<std::string> steps{Describe(record)};
    std::istringstream moves(c.line);
    std::string move;
    while (moves >> move) {
      ASSERT_TRUE(PlayLine(record, move)) << c.rule << " " << move;
      steps.push_back(Describe(record));
    }
    EXPECT_EQ(record.GetMoveTexts().back(), c.text) << c.rule;
    // Each take back lands exactly on the position before the move.
    for (size_t n = steps.size() - 1; n > 0; --n) {
      ASSERT_TRUE(record.Undo()) << c.rule;
      EXPECT_EQ(Describe(record), steps[n - 1]) << c.rule << " back to ply " << n - 1;
    }
    EXPECT_FALSE(record.Undo()) << c.rule;
    EXPECT_EQ(record.GetHalfMoveClock(), 7) << c.rule;
    EXPECT_EQ(record.GetSideToMove(), record.GetStartSide()) << c.rule;
    EXPECT_EQ(record.GetPosition().GetKey(), record.GetPosition().ComputeKey()) << c.rule;
  }
}

TEST(TakeBackTest, PromotedPieceBecomesAPawnAndTheGameGoesOnDifferently) {
  CGameRecord record = RecordAt("1n2k3/P7/8/8/8/8/8/4K3 w - - 0 1");
  ASSERT_TRUE(PlayLine(record, "a7a8"));
  int type = Pawn, color = Black;
  ASSERT_TRUE(record.GetPosition().PieceAt(Sq("a8"), type, color));
  EXPECT_EQ(type, Queen);
  ASSERT_TRUE(record.Undo());
  EXPECT_FALSE(record.GetPosition().PieceAt(Sq("a8"), type, color));
  ASSERT_TRUE(record.GetPosition().PieceAt(Sq("a7"), type, color));
  EXPECT_EQ(type, Pawn);
  // A different move after the take back: the capture that promotes.
  ASSERT_TRUE(PlayLine(record, "a7b8 e8d7"));
  EXPECT_EQ(record.GetMoveTexts(), (std::vector<std::string>{"a7b8q", "e8d7"}));
  ASSERT_TRUE(record.GetPosition().PieceAt(Sq("b8"), type, color));
  EXPECT_EQ(type, Queen);
}
