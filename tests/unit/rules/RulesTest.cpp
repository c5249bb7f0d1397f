// The rules on boards without a scene: legal targets, check and mate,
// castling, promotion, en passant, refused moves and a new game.
#include "tests/unit/rules/RulesTestSupport.h"

#include <gmock/gmock.h>

#include <algorithm>

using namespace rules_testing;
using testing::ElementsAre;
using testing::IsEmpty;
using testing::UnorderedElementsAreArray;

namespace {

const char *const START = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
const char *const CASTLING = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1";

} // namespace

TEST(LegalTargetsTest, PinsAndAttackedSquaresLimitTheMoves) {
  struct Case {
    const char *rule, *fen, *square;
    std::vector<std::string> targets;
  } cases[] = {
      {"bishop pinned on a file", "4k3/4r3/8/8/8/8/4B3/4K3 w - - 0 1", "e2", {}},
      {"rook pinned on a file moves along it",
       "4k3/4r3/8/8/8/8/4R3/4K3 w - - 0 1",
       "e2",
       {"e3", "e4", "e5", "e6", "e7"}},
      {"knight pinned on a diagonal", "4k3/8/8/b7/8/8/3N4/4K3 w - - 0 1", "d2", {}},
      {"pawn pinned on a diagonal only takes the pinner", "4k3/8/8/8/8/5b2/4P3/3K4 w - - 0 1", "e2", {"f3"}},
      {"king never next to the other king", "8/8/8/3k4/8/3K4/8/8 w - - 0 1", "d3", {"c2", "d2", "e2", "c3", "e3"}},
      {"king does not step back along the checking line", "4k3/8/8/8/8/8/8/r3K3 w - - 0 1", "e1", {"d2", "e2", "f2"}},
  };
  for (const Case &c : cases) {
    FenBoard board(c.fen);
    EXPECT_THAT(TargetsOf(board.map, c.square), UnorderedElementsAreArray(c.targets)) << c.rule;
  }
}

TEST(LegalTargetsTest, TargetsComeInTheBoardsFixedOrder) {
  FenBoard start(START);
  EXPECT_THAT(TargetsOf(start.map, "b1"), ElementsAre("a3", "c3"));
  FenBoard castling(CASTLING);
  // Castling first (king side, queen side), then the steps clockwise from "up".
  EXPECT_THAT(TargetsOf(castling.map, "e1"), ElementsAre("g1", "c1", "e2", "f2", "f1", "d1", "d2"));
}

TEST(MateTest, MateNeedsCheckAndNoLegalMove) {
  struct Case {
    const char *rule, *fen;
    irr::s32 color;
    bool inCheck, mate;
  } cases[] = {
      {"fool's mate", "rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3", White, true, true},
      {"back rank mate", "R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1", Black, true, true},
      {"check answered by capture", "R5k1/5ppp/8/8/8/7K/8/r7 b - - 0 1", Black, true, false},
      {"check answered by interposition", "R5k1/5ppp/8/8/8/7K/8/1r6 b - - 0 1", Black, true, false},
      {"stalemate is not mate", "7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", Black, false, false},
      {"start position", START, White, false, false},
  };
  for (const Case &c : cases) {
    FenBoard board(c.fen);
    irr::s32 king = -1;
    EXPECT_EQ(board.map.IsKingAttacked(board.map.GetTokens(), c.color, king), c.inCheck) << c.rule;
    EXPECT_EQ(board.map.IsMate(c.color), c.mate) << c.rule;
  }
  FenBoard stalemate("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1");
  EXPECT_THAT(TargetsOf(stalemate.map, "h8"), IsEmpty());
}

TEST(CastlingTest, BothSidesForBothColoursMoveKingAndRook) {
  struct Case {
    const char *fen, *king, *kingTo, *rook, *rookTo;
  } cases[] = {
      {CASTLING, "e1", "g1", "h1", "f1"},
      {CASTLING, "e1", "c1", "a1", "d1"},
      {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", "e8", "g8", "h8", "f8"},
      {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", "e8", "c8", "a8", "d8"},
  };
  for (const Case &c : cases) {
    FenBoard board(c.fen);
    const irr::s32 king = TokenOn(board.map, c.king), rook = TokenOn(board.map, c.rook);
    ASSERT_TRUE(Play(board.map, c.king, c.kingTo)) << c.king << c.kingTo;
    EXPECT_EQ(TokenOn(board.map, c.kingTo), king) << c.kingTo;
    EXPECT_EQ(TokenOn(board.map, c.rookTo), rook) << c.kingTo;
    EXPECT_EQ(TokenOn(board.map, c.rook), -1) << c.kingTo;
    EXPECT_TRUE(board.map.GetToken(king)->HasMoved() && board.map.GetToken(rook)->HasMoved()) << c.kingTo;
  }
}

TEST(CastlingTest, RefusedOutOfCheckAndAcrossOrOntoAttackedSquares) {
  struct Case {
    const char *rule, *fen, *king;
    bool kingside, queenside;
  } cases[] = {
      {"king in check", "4k3/4r3/8/8/8/8/8/R3K2R w KQ - 0 1", "e1", false, false},
      {"king passes attacked f1", "4k3/5r2/8/8/8/8/8/R3K2R w KQ - 0 1", "e1", false, true},
      {"king passes attacked d1", "4k3/3r4/8/8/8/8/8/R3K2R w KQ - 0 1", "e1", true, false},
      {"king lands on attacked g1", "4k3/6r1/8/8/8/8/8/R3K2R w KQ - 0 1", "e1", false, true},
      {"only the rook crosses attacked b1", "4k3/1r6/8/8/8/8/8/R3K2R w KQ - 0 1", "e1", true, true},
      {"black king passes attacked f8", "r3k2r/8/8/8/8/8/8/4KR2 b kq - 0 1", "e8", false, true},
  };
  for (const Case &c : cases) {
    FenBoard board(c.fen);
    const std::vector<std::string> targets = TargetsOf(board.map, c.king);
    auto has = [&](const char *s) { return std::find(targets.begin(), targets.end(), s) != targets.end(); };
    const bool white = c.king[1] == '1';
    EXPECT_EQ(has(white ? "g1" : "g8"), c.kingside) << c.rule;
    EXPECT_EQ(has(white ? "c1" : "c8"), c.queenside) << c.rule;
  }
}

TEST(PromotionTest, PushOrCaptureOnTheLastRankMakesAQueen) {
  struct Case {
    const char *fen, *from, *to;
    irr::s32 color;
  } cases[] = {
      {"4k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7", "a8", White},
      {"1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7", "b8", White},
      {"4k3/8/8/8/8/8/p7/4K3 b - - 0 1", "a2", "a1", Black},
      {"4k3/8/8/8/8/8/p7/1R2K3 b - - 0 1", "a2", "b1", Black},
  };
  for (const Case &c : cases) {
    FenBoard board(c.fen);
    const irr::s32 pawn = TokenOn(board.map, c.from), victim = TokenOn(board.map, c.to);
    bool promoted = false;
    ASSERT_TRUE(Play(board.map, c.from, c.to, &promoted)) << c.from << c.to;
    EXPECT_TRUE(promoted) << c.to;
    CGameToken *queen = board.map.GetToken(pawn);
    EXPECT_EQ(queen->GetType(), Queen) << c.to;
    EXPECT_EQ(queen->GetColor(), c.color) << c.to;
    EXPECT_EQ(TokenOn(board.map, c.to), pawn) << c.to;
    if (victim >= 0) {
      EXPECT_TRUE(board.map.GetToken(victim)->IsCaptured()) << c.to;
    }
    // The new queen attacks along the last rank: the other king is in check.
    irr::s32 king = -1;
    EXPECT_TRUE(board.map.IsKingAttacked(board.map.GetTokens(), OtherColor(c.color), king)) << c.to;
  }
}

TEST(EnPassantTest, OnlyOnTheVeryNextMoveForEitherSide) {
  struct Case {
    const char *rule, *line, *from, *to, *taken;
    bool allowed;
  } cases[] = {
      {"white takes", "e2e4 a7a6 e4e5 d7d5", "e5", "d6", "d5", true},
      {"black takes", "h2h3 d7d5 h3h4 d5d4 e2e4", "d4", "e3", "e4", true},
      {"too late", "e2e4 a7a6 e4e5 d7d5 h2h3 h7h6", "e5", "d6", "d5", false},
      {"single steps give no right", "e2e4 d7d6 e4e5 d6d5", "e5", "d6", "d5", false},
  };
  for (const Case &c : cases) {
    FenBoard board(START);
    ASSERT_TRUE(PlayLine(board.map, c.line)) << c.rule;
    const irr::s32 victim = TokenOn(board.map, c.taken);
    ASSERT_GE(victim, 0) << c.rule;
    EXPECT_EQ(Play(board.map, c.from, c.to), c.allowed) << c.rule;
    CGameToken *taken = board.map.GetToken(victim);
    EXPECT_EQ(taken->IsCaptured(), c.allowed) << c.rule;
    EXPECT_EQ(taken->HasMoved(), true) << c.rule;
    EXPECT_EQ(TokenOn(board.map, c.taken) == -1, c.allowed) << c.rule;
  }
}

TEST(ExecuteMoveTest, RefusesMovesOutsideTheLegalListAndChangesNothing) {
  struct Case {
    const char *rule, *fen, *from, *to;
  } cases[] = {
      {"pawn three squares", START, "e2", "e5"},
      {"knight onto own pawn", START, "b1", "d2"},
      {"pinned bishop leaves the pin", "4k3/4r3/8/8/8/8/4B3/4K3 w - - 0 1", "e2", "d3"},
      {"diagonal pawn step without en passant right", "4k3/8/8/3pP3/8/8/8/4K3 w - - 0 1", "e5", "d6"},
      {"castling without right", "4k3/8/8/8/8/8/8/R3K2R w - - 0 1", "e1", "g1"},
      {"promotion square not reachable", "4k3/8/P7/8/8/8/8/4K3 w - - 0 1", "a6", "a8"},
  };
  for (const Case &c : cases) {
    FenBoard board(c.fen);
    board.map.SelectToken(TokenOn(board.map, c.from));
    const std::string before = DescribeBoard(board.map);
    bool promoted = true;
    EXPECT_FALSE(board.map.ExecuteMove(Sq(c.to), promoted)) << c.rule;
    EXPECT_FALSE(promoted) << c.rule;
    EXPECT_EQ(DescribeBoard(board.map), before) << c.rule;
  }
  FenBoard board(START);
  board.map.ClearSelection();
  bool promoted = true;
  EXPECT_FALSE(board.map.ExecuteMove(Sq("e4"), promoted));
  EXPECT_FALSE(promoted);
}

TEST(NewGameTest, ResetRestoresTheStartPositionAndTurnsQueensBackIntoPawns) {
  FenBoard board("4k3/P7/8/8/8/8/8/4K3 w - - 0 1");
  const irr::s32 pawn = TokenOn(board.map, "a7");
  ASSERT_TRUE(PlayLine(board.map, "a7a8 e8e7 e1e2"));
  ASSERT_EQ(board.map.GetToken(pawn)->GetType(), Queen);
  ASSERT_TRUE(PlayLine(board.map, "e7f6 a8a6 f6e5 a6a5 e5d4"));

  CMap fresh;
  fresh.InitGameTokens();
  fresh.Reset();
  board.map.SelectToken(pawn);
  board.map.Reset();
  EXPECT_EQ(DescribeBoard(board.map), DescribeBoard(fresh));
  EXPECT_EQ(board.map.GetToken(pawn)->GetType(), Pawn);
  EXPECT_EQ(board.map.GetSelectedToken(), -1);
  EXPECT_THAT(TargetsOf(board.map, "g1"), ElementsAre("f3", "h3"));
}
