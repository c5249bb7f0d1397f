// The game in words: moves of every kind said from the position before
// them, the endings, a side's pieces and the clocks.
#include "chess/SpokenText.h"
#include "chess/CGameRecord.h"
#include "tests/unit/chess/ChessTestSupport.h"

#include <gtest/gtest.h>

using namespace chess;
using chess_testing::FromFen;
using chess_testing::Uci;

TEST(SpokenText, Moves) {
  const struct {
    const char *what, *fen, *move, *said;
  } cases[] = {
      {"a pawn's first move", Position::START_FEN, "e2e4", "White: pawn to e4"},
      {"a knight's move", Position::START_FEN, "g1f3", "White: knight to f3"},
      {"a capture with check", "4k3/8/8/4P3/8/3n1K2/8/8 b - - 0 1", "d3e5", "Black: knight takes e5, check"},
      {"a check without capture", "4k3/8/8/8/8/8/8/4KB2 w - - 0 1", "f1b5", "White: bishop to b5, check"},
      {"castling kingside", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "e1g1", "White: castles kingside"},
      {"castling queenside", "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", "e8c8", "Black: castles queenside"},
      {"castling with check", "5k2/8/8/8/8/8/8/4K2R w K - 0 1", "e1g1", "White: castles kingside, check"},
      {"en passant", "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1", "e5d6", "White: pawn takes d6 en passant"},
      {"black en passant", "4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 1", "d4e3", "Black: pawn takes e3 en passant"},
      {"a promotion", "8/4P3/8/8/8/8/k7/4K3 w - - 0 1", "e7e8q", "White: pawn to e8, promotes to queen"},
      {"a promotion with check", "k7/4P3/8/8/8/8/8/4K3 w - - 0 1", "e7e8q",
       "White: pawn to e8, promotes to queen, check"},
      {"an under-promotion with capture", "3r4/4P3/8/8/8/8/k7/4K3 w - - 0 1", "e7d8n",
       "White: pawn takes d8, promotes to knight"},
      {"mate by a capture", "6nk/6pp/8/8/8/8/1B6/4K1R1 w - - 0 1", "b2g7", "White: bishop takes g7, checkmate"},
      {"mate by a quiet move", "6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1", "a1a8", "White: rook to a8, checkmate"},
      // Where "knight to d2" would not say which knight, the mover's square is named.
      {"two knights for one square", "4k3/8/8/8/8/8/8/1N2KN2 w - - 0 1", "b1d2", "White: knight from b1 to d2"},
      {"two pawns for one capture", "4k3/8/8/3p4/2P1P3/8/8/4K3 w - - 0 1", "c4d5", "White: pawn from c4 takes d5"},
      {"a rook and a queen for one square", "4k3/8/8/8/8/8/Q7/3RK3 w - - 0 1", "d1d5", "White: rook to d5"},
      {"not a legal move", Position::START_FEN, "e2e5", ""},
      {"no piece there", Position::START_FEN, "e3e4", ""},
  };
  for (const auto &c : cases)
    EXPECT_EQ(SpokenMove(FromFen(c.fen), Uci(c.move)), c.said) << c.what;
}

// The last move is said from the position before it, also after a take back
// and in a record that starts where other moves were played.
TEST(SpokenText, LastMoveOfTheRecord) {
  CGameRecord record;
  EXPECT_EQ(SpokenLastMove(record), "");
  for (const char *move : {"e2e4", "f7f6", "d1h5"})
    ASSERT_TRUE(record.Play(Uci(move)));
  EXPECT_EQ(SpokenLastMove(record), "White: queen to h5, check");
  record.Undo();
  EXPECT_EQ(SpokenLastMove(record), "Black: pawn to f6");

  Position start = FromFen("r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1");
  ASSERT_TRUE(start.Play(Uci("e8g8")));
  record.Start(start);
  EXPECT_EQ(SpokenLastMove(record), "");
  ASSERT_TRUE(record.Play(Uci("e1c1")));
  EXPECT_EQ(SpokenLastMove(record), "White: castles queenside");
}

TEST(SpokenText, Endings) {
  const int DRAW = GameVerdict::NO_WINNER;
  const struct {
    GameEnd reason;
    int winner, sideToMove;
    const char *said;
  } cases[] = {
      {GameEnd::Checkmate, White, Black, "Checkmate. White wins."},
      {GameEnd::Stalemate, DRAW, Black, "Stalemate. Draw."},
      {GameEnd::Repetition, DRAW, White, "Draw by repetition."},
      {GameEnd::FiftyMoves, DRAW, White, "Draw by the fifty move rule."},
      {GameEnd::InsufficientMaterial, DRAW, Black, "Draw by insufficient material."},
      {GameEnd::Resignation, White, White, "Black resigns. White wins."},
      {GameEnd::Resignation, Black, White, "White resigns. Black wins."},
      {GameEnd::TimeForfeit, Black, White, "White loses on time. Black wins."},
      {GameEnd::TimeForfeitInsufficientMaterial, DRAW, White, "White is out of time, but Black cannot mate. Draw."},
      {GameEnd::Recorded, DRAW, White, "Game over. Draw."},
      {GameEnd::None, DRAW, White, ""},
  };
  for (const auto &c : cases) {
    GameVerdict verdict;
    verdict.reason = c.reason;
    verdict.winner = c.winner;
    EXPECT_EQ(SpokenGameEnd(verdict, c.sideToMove), c.said) << verdict.ReasonText();
  }
}

TEST(SpokenText, Pieces) {
  const struct {
    const char *fen;
    int color;
    const char *said;
  } cases[] = {
      {Position::START_FEN, White,
       "White: king e1, queen d1, rooks a1 and h1, bishops c1 and f1, knights b1 and g1, pawns a2, b2, c2, d2, e2, "
       "f2, g2 and h2"},
      {Position::START_FEN, Black,
       "Black: king e8, queen d8, rooks a8 and h8, bishops c8 and f8, knights b8 and g8, pawns a7, b7, c7, d7, e7, "
       "f7, g7 and h7"},
      {"4k3/8/8/8/8/8/8/4K2R b K - 0 1", Black, "Black: king e8"},
      {"4k3/8/8/8/8/8/8/4K2R b K - 0 1", White, "White: king e1, rook h1"},
      // Squares of a kind from the a-file on, each file from its first rank.
      {"4k3/8/8/8/8/P7/P5P1/Q3K2Q w - - 0 1", White, "White: king e1, queens a1 and h1, pawns a2, a3 and g2"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(SpokenPieces(FromFen(c.fen), c.color), c.said) << c.fen;
}

TEST(SpokenText, Times) {
  const struct {
    int64_t ms;
    const char *said;
  } cases[] = {
      {272999, "4 minutes 32 seconds"},
      {300000, "5 minutes"},
      {60999, "1 minute"},
      {61000, "1 minute 1 second"},
      {5400000, "1 hour 30 minutes"},
      {7201000, "2 hours 1 second"},
      {45000, "45 seconds"},
      {10000, "10 seconds"},
      {9999, "9.9 seconds"},
      {9349, "9.3 seconds"},
      {-5, "0.0 seconds"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(SpokenTime(c.ms), c.said) << c.ms;
  EXPECT_EQ(SpokenClocks(272000, 185000), "White 4 minutes 32 seconds, Black 3 minutes 5 seconds");
}
