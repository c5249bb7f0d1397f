// The position: FEN in and out, the rules its moves follow, and the Zobrist
// key kept move by move.
#include "chess/Position.h"
#include "tests/unit/chess/ChessTestSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>

using chess::Move;
using chess::MoveCode;
using chess::MoveList;
using chess::Position;
using chess_testing::PlayLine;

namespace {

const char *const KIWIPETE = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1";

} // namespace

TEST(FenRefusalTest, EachBrokenFieldIsRefusedWithItsReasonAndNothingChanges) {
  struct Case {
    const char *fen, *reason;
  } cases[] = {
      {"", "empty"},
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", "side to move"},
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq", "en-passant"},
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x KQkq -", "w or b"},
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP w KQkq -", "fewer than 8 ranks"},
      {"rnbqkbnr/pppppppp/8/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", "more than 8 ranks"},
      {"rnbqkbnr/pppppppp/9/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", "empty squares"},
      {"rnbqkbnr/ppppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", "rank 7 holds more than 8"},
      {"rnbqkbnr/ppp1ppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", "rank 7 does not hold 8"},
      {"rnbqkbnr/ppppxppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", "piece letter 'x'"},
      {"rnbq1bnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQ -", "Black has 0 kings"},
      {"4k3/8/8/8/8/8/8/3KK3 w - -", "White has 2 kings"},
      {"QQQQkQQQ/QQQQQQQQ/Q7/8/8/8/8/4K3 w - -", "White has more than 16 pieces"},
      {"4k3/pppppppp/p7/8/8/8/8/4K3 w - -", "Black has more than 8 pawns"},
      {"P3k3/8/8/8/8/8/8/4K3 w - -", "last rank (a8)"},
      {"4k3/8/8/8/8/8/8/4K2p b - -", "last rank (h1)"},
      {"4k3/8/8/8/8/8/8/4RK2 w - -", "(Black) is in check"},
      {"4k3/8/8/8/8/8/8/4K3 w X -", "castling letter 'X'"},
      {"r3k2r/8/8/8/8/8/8/R3K2R w KK -", "given twice"},
      {"4k3/8/8/8/8/8/8/4K3 w K -", "'K' needs the king on e1 and a rook on h1"},
      {"r3k2r/8/8/8/8/8/8/R2K3R w Q -", "'Q' needs the king on e1"},
      {"r3k3/8/8/8/8/8/8/R3K2R w KQkq -", "'k' needs the king on e8 and a rook on h8"},
      {"4k3/8/8/3pP3/8/8/8/4K3 w - z9", "not a square"},
      {"4k3/8/8/3pP3/8/8/8/4K3 w - e6", "no black pawn on e5"},
      {"4k3/8/8/3pP3/8/8/8/4K3 w - d3", "not on rank 6"},
      {"4k3/4p3/8/3Pp3/8/8/8/4K3 w - e6", "start square e7 is not empty"},
      {"4k3/8/8/8/3pP3/8/8/4K3 b - e6 0 1", "not on rank 3"},
      {"4k3/8/8/8/8/8/8/4K3 w - - -1 1", "half-move clock"},
      {"4k3/8/8/8/8/8/8/4K3 w - - x 1", "half-move clock"},
      {"4k3/8/8/8/8/8/8/4K3 w - - 1000001 1", "half-move clock"},
      {"4k3/8/8/8/8/8/8/4K3 w - - 0 0", "full-move number"},
      {"4k3/8/8/8/8/8/8/4K3 w - - 0 99999999999", "full-move number"},
      {"4k3/8/8/8/8/8/8/4K3 w - - 0 1 extra", "more than six fields"},
  };
  Position position;
  ASSERT_TRUE(PlayLine(position, "e2e4 c7c5"));
  const std::string fen = position.GetFen();
  const std::uint64_t key = position.GetKey();
  for (const Case &c : cases) {
    std::string error;
    EXPECT_FALSE(position.SetFen(c.fen, error)) << c.fen;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.fen << " gave: " << error;
  }
  EXPECT_EQ(position.GetFen(), fen);
  EXPECT_EQ(position.GetKey(), key);
  EXPECT_EQ(position.GetPlayedCount(), 2u);
}

TEST(FenTest, WrittenAsReadAndMissingCountersReadAsZeroAndOne) {
  const char *const fens[] = {
      Position::START_FEN,
      KIWIPETE,
      "r3k2r/8/8/8/8/8/8/R3K2R b Kq - 12 40",
      "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3",
      "4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 1",
      "8/8/8/8/8/8/8/k6K w - - 1000000 1000000",
  };
  for (const char *fen : fens)
    EXPECT_EQ(chess_testing::FromFen(fen).GetFen(), fen);
  EXPECT_EQ(chess_testing::FromFen("4k3/8/8/8/8/8/8/4K3 b - -").GetFen(), "4k3/8/8/8/8/8/8/4K3 b - - 0 1");
  EXPECT_EQ(chess_testing::FromFen("4k3/8/8/8/8/8/8/4K3 b - - 7").GetFen(), "4k3/8/8/8/8/8/8/4K3 b - - 7 1");
}

TEST(MoveRuleTest, PlayedLinesLeaveTheExpectedPosition) {
  struct Case {
    const char *rule, *fen, *line, *after;
  } cases[] = {
      {"DoubleStepWritesItsSquareEvenWithoutCapture", Position::START_FEN, "e2e4",
       "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1"},
      {"CountersFollowPawnMoves", Position::START_FEN, "g1f3 g8f6 f3g1 f6g8 e2e4",
       "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 3"},
      {"EnPassantRemovesThePassedPawn", "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1", "e5d6", "4k3/8/3P4/8/8/8/8/4K3 b - - 0 1"},
      {"ShortCastlingMovesTheRook", KIWIPETE, "e1g1",
       "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R4RK1 b kq - 1 1"},
      {"LongCastlingMovesTheRook", "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", "e8c8",
       "2kr3r/8/8/8/8/8/8/R3K2R w KQ - 1 2"},
      {"RookMoveLosesItsSideOnly", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "a1b1",
       "r3k2r/8/8/8/8/8/8/1R2K2R b Kkq - 1 1"},
      {"RookTakenOnItsCornerLosesTheRight", "r3k2r/8/8/8/8/8/6b1/R3K2R b KQkq - 7 1", "g2h1",
       "r3k2r/8/8/8/8/8/8/R3K2b w Qkq - 0 2"},
      {"RookTakingRookLosesBothRights", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "h1h8",
       "r3k2R/8/8/8/8/8/8/R3K3 b Qq - 0 1"},
      {"UnderPromotionPlacesTheNamedPiece", "3rk3/2P5/8/8/8/8/8/4K3 w - - 0 1", "c7d8n",
       "3Nk3/8/8/8/8/8/8/4K3 b - - 0 1"},
  };
  for (const Case &c : cases) {
    Position position = chess_testing::FromFen(c.fen);
    ASSERT_TRUE(PlayLine(position, c.line)) << c.rule;
    EXPECT_EQ(position.GetFen(), c.after) << c.rule;
    EXPECT_EQ(position.GetKey(), position.ComputeKey()) << c.rule;
  }
}

TEST(MoveRuleTest, LegalityOfSingleMoves) {
  struct Case {
    const char *rule, *fen, *move;
    bool legal;
  } cases[] = {
      {"EnPassantOpeningTheRankIsRefused", "8/8/8/8/k2Pp2Q/8/8/3K4 b - d3 0 1", "e4d3", false},
      {"EnPassantTakingTheCheckingPawn", "8/8/8/2k5/3Pp3/8/8/4K3 b - d3 0 1", "e4d3", true},
      {"EnPassantOnlyRightAfterTheDoubleStep", "4k3/8/8/3pP3/8/8/8/4K3 w - - 0 1", "e5d6", false},
      {"CastlingOutOfCheck", "4k3/4r3/8/8/8/8/8/R3K2R w KQ - 0 1", "e1g1", false},
      {"CastlingThroughCheck", "4k3/5r2/8/8/8/8/8/R3K2R w KQ - 0 1", "e1g1", false},
      {"CastlingIntoCheck", "4k3/6r1/8/8/8/8/8/R3K2R w KQ - 0 1", "e1g1", false},
      {"LongCastlingPastAnAttackedKnightSquare", "4k3/1r6/8/8/8/8/8/R3K2R w KQ - 0 1", "e1c1", true},
      {"LongCastlingBlockedOnTheKnightSquare", "4k3/8/8/8/8/8/8/RN2K2R w KQ - 0 1", "e1c1", false},
      {"KingStepsOffTheCheckingLine", "4k3/4r3/8/8/8/8/8/4K3 w - - 0 1", "e1d1", true},
      {"KingStepsAwayFromACheckingRookOnItsLine", "4k3/4r3/8/8/8/8/4K3/8 w - - 0 1", "e2e1", false},
      {"PinnedRookMovesAlongThePin", "4k3/4r3/8/8/8/8/4R3/4K3 w - - 0 1", "e2e7", true},
      {"PinnedRookLeavesThePin", "4k3/4r3/8/8/8/8/4R3/4K3 w - - 0 1", "e2d2", false},
      {"PromotionNeedsAPiece", "4k3/1P6/8/8/8/8/8/4K3 w - - 0 1", "b7b8", false},
      {"PromotionToAKnight", "4k3/1P6/8/8/8/8/8/4K3 w - - 0 1", "b7b8n", true},
      {"PromotionPieceOnANonPromotion", "4k3/8/8/8/8/8/1P6/4K3 w - - 0 1", "b2b4q", false},
  };
  for (const Case &c : cases) {
    Move move;
    ASSERT_TRUE(Move::FromUci(c.move, move)) << c.rule;
    EXPECT_EQ(chess_testing::FromFen(c.fen).IsLegal(move), c.legal) << c.rule;
  }
}

TEST(MoveRuleTest, CheckMateStalemateAndCaptures) {
  Position fool = chess_testing::FromFen("rnbqkbnr/pppp1ppp/8/4p3/6P1/5P2/PPPPP2P/RNBQKBNR b KQkq - 0 2");
  bool check = false, mate = false;
  fool.CheckAfter(Move({3, 7}, {7, 3}), check, mate);
  EXPECT_TRUE(check && mate);
  EXPECT_EQ(fool.GetFen(), "rnbqkbnr/pppp1ppp/8/4p3/6P1/5P2/PPPPP2P/RNBQKBNR b KQkq - 0 2");
  ASSERT_TRUE(PlayLine(fool, "d8h4"));
  EXPECT_TRUE(fool.IsCheckmate());
  EXPECT_FALSE(fool.IsStalemate());

  Position stalemate = chess_testing::FromFen("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1");
  EXPECT_TRUE(stalemate.IsStalemate());
  EXPECT_FALSE(stalemate.IsCheckmate());
  EXPECT_FALSE(stalemate.HasLegalMove());

  Position enPassant = chess_testing::FromFen("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1");
  EXPECT_TRUE(enPassant.IsCapture(Move({4, 4}, {3, 5})));
  EXPECT_FALSE(enPassant.IsCapture(Move({4, 4}, {4, 5})));
  EXPECT_TRUE(enPassant.IsAttacked({3, 5}, chess::White));
  EXPECT_FALSE(enPassant.IsAttacked({4, 5}, chess::White));
}

TEST(KeyTest, TranspositionsShareOneKeyAndRightsOrSideTellPositionsApart) {
  struct Case {
    const char *rule, *fen, *line, *otherFen, *otherLine;
    bool same;
  } cases[] = {
      {"KnightsInEitherOrder", Position::START_FEN, "g1f3 g8f6 b1c3 b8c6", Position::START_FEN, "b1c3 b8c6 g1f3 g8f6",
       true},
      {"KnightsOutAndBackIsTheStart", Position::START_FEN, "g1f3 g8f6 f3g1 f6g8", Position::START_FEN, "", true},
      {"KingOutAndBackLosesTheRights", Position::START_FEN, "e2e4 e7e5 e1e2 e8e7 e2e1 e7e8",
       "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w - - 4 4", "", true},
      {"RightsCount", Position::START_FEN, "e2e4 e7e5 e1e2 e8e7 e2e1 e7e8",
       "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 4 4", "", false},
      {"SideToMoveCounts", "4k3/8/8/8/8/8/8/4K3 w - - 0 1", "", "4k3/8/8/8/8/8/8/4K3 b - - 0 1", "", false},
      {"EnPassantWithoutAPawnBesideIsNotKeyed", Position::START_FEN, "e2e4",
       "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1", "", true},
      {"EnPassantWithAPawnBesideIsKeyed", "4k3/8/8/8/5p2/8/4P3/4K3 w - - 0 1", "e2e4",
       "4k3/8/8/8/4Pp2/8/8/4K3 b - - 0 1", "", false},
  };
  for (const Case &c : cases) {
    Position one = chess_testing::FromFen(c.fen), other = chess_testing::FromFen(c.otherFen);
    ASSERT_TRUE(PlayLine(one, c.line)) << c.rule;
    ASSERT_TRUE(PlayLine(other, c.otherLine)) << c.rule;
    EXPECT_EQ(one.GetKey() == other.GetKey(), c.same) << c.rule;
    EXPECT_EQ(one.GetKey(), one.ComputeKey()) << c.rule;
  }
}

TEST(KeyTest, RepetitionKeyCountsTheEnPassantFileOnlyWhenTheCaptureIsLegal) {
  struct Case {
    const char *rule, *fen, *withoutEnPassant;
    bool captureLegal;
  } cases[] = {
      {"CaptureLegal", "8/8/8/2k5/3Pp3/8/8/4K3 b - d3 0 1", "8/8/8/2k5/3Pp3/8/8/4K3 b - - 0 1", true},
      {"CapturePinnedAlongTheRank", "8/8/8/8/k2Pp2Q/8/8/3K4 b - d3 0 1", "8/8/8/8/k2Pp2Q/8/8/3K4 b - - 0 1", false},
      {"CapturePinnedAlongTheFile", "4k3/8/8/8/3Pp3/8/8/K3R3 b - d3 0 1", "4k3/8/8/8/3Pp3/8/8/K3R3 b - - 0 1", false},
  };
  for (const Case &c : cases) {
    const Position with = chess_testing::FromFen(c.fen), without = chess_testing::FromFen(c.withoutEnPassant);
    // A pawn stands beside in every case, so the move key always has the file.
    EXPECT_NE(with.GetKey(), without.GetKey()) << c.rule;
    EXPECT_EQ(with.RepetitionKey() == without.RepetitionKey(), !c.captureLegal) << c.rule;
    EXPECT_EQ(without.RepetitionKey(), without.GetKey()) << c.rule;
  }
}

// Random games from positions rich in castling, en passant and promotion:
// after every move the incremental key equals the key from scratch and the
// key of the same position read from its FEN; each move taken back restores
// FEN and key.
TEST(KeyTest, IncrementalKeyFollowsRandomGamesAndUndoRestoresEverything) {
  const char *const starts[] = {
      Position::START_FEN,
      KIWIPETE,
      "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
      "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1",
      "4k3/pppppppp/8/8/8/8/PPPPPPPP/4K3 w - - 0 1",
  };
  constexpr int GAMES_PER_START = 16;
  constexpr int MAX_PLIES = 120;
  std::mt19937 random(20240611);
  int seen[4] = {}; // per MoveCode::Kind
  int promotions = 0;
  for (const char *start : starts)
    for (int game = 0; game < GAMES_PER_START; ++game) {
      Position position = chess_testing::FromFen(start);
      std::vector<std::string> fens{position.GetFen()};
      std::vector<std::uint64_t> keys{position.GetKey()};
      for (int ply = 0; ply < MAX_PLIES; ++ply) {
        MoveList moves;
        position.GenerateLegal(moves);
        if (moves.size == 0)
          break;
        const MoveCode move = moves.moves[random() % unsigned(moves.size)];
        ++seen[move.kind];
        promotions += move.promotion != chess::Pawn;
        position.DoMove(move);
        ASSERT_EQ(position.GetKey(), position.ComputeKey()) << fens.back() << " " << move.ToMove().ToUci();
        ASSERT_EQ(position.GetKey(), chess_testing::FromFen(position.GetFen()).GetKey()) << position.GetFen();
        fens.push_back(position.GetFen());
        keys.push_back(position.GetKey());
      }
      while (position.GetPlayedCount() > 0) {
        position.UndoMove();
        fens.pop_back();
        keys.pop_back();
        ASSERT_EQ(position.GetFen(), fens.back());
        ASSERT_EQ(position.GetKey(), keys.back());
      }
      position.UndoMove(); // nothing left to take back
      EXPECT_EQ(position.GetFen(), chess_testing::FromFen(start).GetFen());
    }
  // The games did reach the rules the key has to follow.
  EXPECT_GT(seen[MoveCode::Castling], 0);
  EXPECT_GT(seen[MoveCode::EnPassant], 0);
  EXPECT_GT(seen[MoveCode::DoubleStep], 0);
  EXPECT_GT(promotions, 0);
}
