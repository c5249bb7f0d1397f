// The rules on positions of the core: legal targets under pins and checks,
// mate, castling, promotion, en passant and refused moves.
#include "chess/Position.h"
#include "tests/unit/chess/ChessTestSupport.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <string>
#include <vector>

using chess::Move;
using chess::Position;
using chess_testing::FromFen;
using chess_testing::PlayLine;
using chess_testing::Sq;
using testing::UnorderedElementsAreArray;

namespace {

const char *const START = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
const char *const CASTLING = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1";

// The squares the piece on square may move to, each once.
std::vector<std::string> TargetsOf(const Position &position, const char *square) {
  std::vector<std::string> names;
  for (const Move &move : position.LegalMoves()) {
    const std::string name = chess::SquareName(move.to);
    if (move.from == Sq(square) && std::find(names.begin(), names.end(), name) == names.end())
      names.push_back(name);
  }
  return names;
}

bool Holds(const Position &position, const char *square, int type, int color) {
  int t = -1, c = -1;
  return position.PieceAt(Sq(square), t, c) && t == type && c == color;
}

bool Empty(const Position &position, const char *square) {
  int t, c;
  return !position.PieceAt(Sq(square), t, c);
}

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
      {"in check only a block or the capture", "4k3/8/8/8/8/8/r2N4/4K2r w - - 0 1", "d2", {"f1"}},
      {"double check leaves the king alone", "4k3/8/8/8/8/5n2/3N4/r3K3 w - - 0 1", "d2", {}},
      {"single check blocked by a knight", "4k3/8/8/8/8/8/3N4/r3K3 w - - 0 1", "d2", {"b1"}},
  };
  for (const Case &c : cases)
    EXPECT_THAT(TargetsOf(FromFen(c.fen), c.square), UnorderedElementsAreArray(c.targets)) << c.rule;
}

TEST(MateTest, MateNeedsCheckAndNoLegalMove) {
  struct Case {
    const char *rule, *fen;
    bool inCheck, mate, stalemate;
  } cases[] = {
      {"fool's mate", "rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3", true, true, false},
      {"back rank mate", "R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1", true, true, false},
      {"check answered by capture", "R5k1/5ppp/8/8/8/7K/8/r7 b - - 0 1", true, false, false},
      {"check answered by interposition", "R5k1/5ppp/8/8/8/7K/8/1r6 b - - 0 1", true, false, false},
      {"stalemate is not mate", "7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", false, false, true},
      {"start position", START, false, false, false},
  };
  for (const Case &c : cases) {
    const Position position = FromFen(c.fen);
    EXPECT_EQ(position.IsInCheck(), c.inCheck) << c.rule;
    EXPECT_EQ(position.IsCheckmate(), c.mate) << c.rule;
    EXPECT_EQ(position.IsStalemate(), c.stalemate) << c.rule;
    EXPECT_EQ(position.HasLegalMove(), !c.mate && !c.stalemate) << c.rule;
  }
}

TEST(CastlingTest, BothSidesForBothColoursMoveKingAndRookAndEndTheRights) {
  struct Case {
    const char *fen, *king, *kingTo, *rook, *rookTo;
    int rightsAfter;
  } cases[] = {
      {CASTLING, "e1", "g1", "h1", "f1", Position::BLACK_KINGSIDE | Position::BLACK_QUEENSIDE},
      {CASTLING, "e1", "c1", "a1", "d1", Position::BLACK_KINGSIDE | Position::BLACK_QUEENSIDE},
      {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", "e8", "g8", "h8", "f8",
       Position::WHITE_KINGSIDE | Position::WHITE_QUEENSIDE},
      {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", "e8", "c8", "a8", "d8",
       Position::WHITE_KINGSIDE | Position::WHITE_QUEENSIDE},
  };
  for (const Case &c : cases) {
    Position position = FromFen(c.fen);
    const int color = position.GetSideToMove();
    ASSERT_TRUE(position.Play(Move(Sq(c.king), Sq(c.kingTo)))) << c.king << c.kingTo;
    EXPECT_TRUE(Holds(position, c.kingTo, chess::King, color)) << c.kingTo;
    EXPECT_TRUE(Holds(position, c.rookTo, chess::Rook, color)) << c.kingTo;
    EXPECT_TRUE(Empty(position, c.rook) && Empty(position, c.king)) << c.kingTo;
    EXPECT_EQ(position.GetCastlingRights(), c.rightsAfter) << c.kingTo;
  }
}

TEST(CastlingTest, RefusedOutOfCheckAndAcrossOrOntoAttackedSquaresAndWithoutRights) {
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
      {"a piece between king and rook", "4k3/8/8/8/8/8/8/RN2K1NR w KQ - 0 1", "e1", false, false},
      {"rights given up", "4k3/8/8/8/8/8/8/R3K2R w - - 0 1", "e1", false, false},
  };
  for (const Case &c : cases) {
    const std::vector<std::string> targets = TargetsOf(FromFen(c.fen), c.king);
    auto has = [&](const char *s) { return std::find(targets.begin(), targets.end(), s) != targets.end(); };
    const bool white = c.king[1] == '1';
    EXPECT_EQ(has(white ? "g1" : "g8"), c.kingside) << c.rule;
    EXPECT_EQ(has(white ? "c1" : "c8"), c.queenside) << c.rule;
  }
}

TEST(PromotionTest, PushOrCaptureOnTheLastRankMakesTheChosenPiece) {
  struct Case {
    const char *fen, *from, *to;
    int color, piece;
    bool check;
  } cases[] = {
      {"4k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7", "a8", chess::White, chess::Queen, true},
      {"1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7", "b8", chess::White, chess::Queen, true},
      {"4k3/8/8/8/8/8/p7/4K3 b - - 0 1", "a2", "a1", chess::Black, chess::Rook, true},
      {"4k3/8/8/8/8/8/p7/1R2K3 b - - 0 1", "a2", "b1", chess::Black, chess::Knight, false},
      {"4k3/8/8/8/8/8/p7/1R2K3 b - - 0 1", "a2", "b1", chess::Black, chess::Bishop, false},
  };
  for (const Case &c : cases) {
    Position position = FromFen(c.fen);
    EXPECT_FALSE(position.IsLegal(Move(Sq(c.from), Sq(c.to)))) << "a promotion names its piece";
    EXPECT_FALSE(position.IsLegal(Move(Sq(c.from), Sq(c.to), chess::King))) << "never a king";
    ASSERT_TRUE(position.Play(Move(Sq(c.from), Sq(c.to), c.piece))) << c.from << c.to;
    EXPECT_TRUE(Holds(position, c.to, c.piece, c.color)) << c.to;
    EXPECT_TRUE(Empty(position, c.from)) << c.from;
    EXPECT_EQ(position.IsInCheck(), c.check) << c.to;
  }
}

TEST(EnPassantTest, OnlyOnTheVeryNextMoveForEitherSide) {
  struct Case {
    const char *rule, *line, *move, *taken;
    bool allowed;
  } cases[] = {
      {"white takes", "e2e4 a7a6 e4e5 d7d5", "e5d6", "d5", true},
      {"black takes", "h2h3 d7d5 h3h4 d5d4 e2e4", "d4e3", "e4", true},
      {"too late", "e2e4 a7a6 e4e5 d7d5 h2h3 h7h6", "e5d6", "d5", false},
      {"single steps give no right", "e2e4 d7d6 e4e5 d6d5", "e5d6", "d5", false},
  };
  for (const Case &c : cases) {
    Position position = FromFen(START);
    ASSERT_TRUE(PlayLine(position, c.line)) << c.rule;
    EXPECT_EQ(PlayLine(position, c.move), c.allowed) << c.rule;
    EXPECT_EQ(Empty(position, c.taken), c.allowed) << c.rule;
  }
}

TEST(PlayTest, RefusesMovesThatAreNotLegalAndChangesNothing) {
  struct Case {
    const char *rule, *fen, *move;
  } cases[] = {
      {"pawn three squares", START, "e2e5"},
      {"knight onto own pawn", START, "b1d2"},
      {"the other side's piece", START, "e7e5"},
      {"an empty square", START, "e3e4"},
      {"pinned bishop leaves the pin", "4k3/4r3/8/8/8/8/4B3/4K3 w - - 0 1", "e2d3"},
      {"diagonal pawn step without en passant right", "4k3/8/8/3pP3/8/8/8/4K3 w - - 0 1", "e5d6"},
      {"castling without right", "4k3/8/8/8/8/8/8/R3K2R w - - 0 1", "e1g1"},
      {"promotion square not reachable", "4k3/8/P7/8/8/8/8/4K3 w - - 0 1", "a6a8q"},
      {"a promotion letter on a plain move", START, "e2e4q"},
  };
  for (const Case &c : cases) {
    Position position = FromFen(c.fen);
    const std::string before = position.GetFen();
    const auto key = position.GetKey();
    EXPECT_FALSE(PlayLine(position, c.move)) << c.rule;
    EXPECT_EQ(position.GetFen(), before) << c.rule;
    EXPECT_EQ(position.GetKey(), key) << c.rule;
    EXPECT_EQ(position.GetPlayedCount(), 0u) << c.rule;
  }
}
