// The review arithmetic: Win% and move accuracy against Lichess's published
// values, the reading and writing of eval notes and UCI scores, the marks of
// bad moves, and whole-game accuracy on worked examples.
#include "chess/ReviewMath.h"
#include "chess/Types.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <utility>

using namespace chess;

namespace {

Evaluation Cp(int cp) { return Evaluation::Centipawns(cp); }
Evaluation Mate(int moves) { return Evaluation::MateIn(moves); }
const Evaluation UNREAD = Cp(-7777); // what a refused reading must leave alone

TEST(ReviewMathTest, WinPercentAndMoveAccuracyMatchPublishedValues) {
  const std::pair<Evaluation, double> wins[] = {
      {Cp(0), 50.00},    {Cp(100), 59.10},  {Cp(300), 75.11},  {Cp(1000), 97.54},
      {Cp(-300), 24.89}, {Cp(-1000), 2.46}, {Cp(4000), 97.54}, {Cp(-25000), 2.46}, // clamped to +-1000
      {Mate(1), 97.54},  {Mate(12), 97.54}, {Mate(-1), 2.46},  {Mate(-30), 2.46},
  };
  for (const auto &c : wins)
    EXPECT_NEAR(WinPercent(c.first), c.second, 0.005) << FormatEvaluation(c.first);
  // Before, after, accuracy: the published 10-point loss anywhere on the
  // scale, no loss, a gain (no loss either), a loss beyond the curve's zero.
  const double moves[][3] = {{60, 50, 63.58}, {75, 65, 63.58}, {50, 50, 100}, {40, 70, 100}, {100, 0, 0}};
  for (const auto &c : moves)
    EXPECT_NEAR(MoveAccuracy(c[0], c[1]), c[2], 0.005) << c[0] << " -> " << c[1];
}

TEST(ReviewMathTest, ReadsAndWritesEvalValuesAsLichessDoes) {
  struct Case {
    const char *text;
    Evaluation eval;
    const char *written; // null: as read
  } cases[] = {
      {"0.31", Cp(31), nullptr},   {"-1.20", Cp(-120), nullptr},
      {"-0.05", Cp(-5), nullptr},  {"0.00", Cp(0), nullptr},
      {"#3", Mate(3), nullptr},    {"#-3", Mate(-3), nullptr},
      {"+2", Cp(200), "2.00"},     {".5", Cp(50), "0.50"},
      {"12.3", Cp(1230), "12.30"}, {"0.315", Cp(32), "0.32"},
      {"0.314", Cp(31), "0.31"},   {"-0.005", Cp(-1), "-0.01"},
      {"#+2", Mate(2), "#2"},      {"100000", Cp(10000000), "100000.00"},
  };
  for (const Case &c : cases) {
    Evaluation eval = UNREAD;
    std::string error;
    EXPECT_TRUE(ParseEvaluation(c.text, eval, error)) << c.text << ": " << error;
    EXPECT_EQ(eval, c.eval) << c.text;
    EXPECT_EQ(FormatEvaluation(eval), c.written ? c.written : c.text);
  }
  for (const char *text :
       {"", "abc", "#0", "#", "#x", "#1.5", "1.2.3", "0,31", "1e3", "+", "-.", " 0.3", "100001", "#10000", "0.3x"}) {
    Evaluation eval = UNREAD;
    std::string error;
    EXPECT_FALSE(ParseEvaluation(text, eval, error)) << text;
    EXPECT_FALSE(error.empty()) << text;
    EXPECT_EQ(eval, UNREAD) << text;
  }
  for (int cp = -2500; cp <= 2500; cp += 7) {
    Evaluation eval;
    std::string error;
    EXPECT_TRUE(FindEvaluationNote(EvaluationNote(Cp(cp)), eval, error) && eval == Cp(cp)) << cp << error;
  }
}

TEST(ReviewMathTest, FindsEvalNotesInCommentsAndScoresInUciLines) {
  struct Case {
    const char *text;
    int side; // -1: a comment; else the side to move of a UCI line
    bool read;
    Evaluation eval;
  } cases[] = {
      {"[%eval 0.31] [%clk 0:05:00]", -1, true, Cp(31)},
      {"[%clk 0:01:00] [%eval #-3]", -1, true, Mate(-3)},
      {"Good move [%eval -2.5,22]", -1, true, Cp(-250)}, // a depth after the value
      {"no note here", -1, false, {}},
      {"[%eval 0.31", -1, false, {}},
      {"[%evaluation 1]", -1, false, {}},
      {"[%eval abc]", -1, false, {}},
      {"[%eval 0.3,x]", -1, false, {}},
      {"info depth 20 seldepth 28 multipv 1 score cp 35 nodes 1000 pv e2e4", White, true, Cp(35)},
      {"info depth 20 seldepth 28 multipv 1 score cp 35 nodes 1000 pv e7e5", Black, true, Cp(-35)},
      {"info depth 9 score mate 3 pv d1h5", White, true, Mate(3)},
      {"info depth 9 score mate -2", Black, true, Mate(2)},
      {"info depth 12 score cp -40 lowerbound nodes 5", White, true, Cp(-40)},
      {"info depth 0 score mate 0", White, true, Mate(-1)}, // White is mated
      {"info depth 0 score mate 0", Black, true, Mate(1)},
      {"bestmove e2e4 ponder e7e5", White, false, {}},
      {"info depth 5 nodes 100 pv e2e4", White, false, {}},
      {"info string score cp 5", White, false, {}},
      {"info depth 3 score cp x", White, false, {}},
      {"info depth 3 score wdl 10 980 10", White, false, {}},
      {"info score cp 5", 2, false, {}},
  };
  for (const Case &c : cases) {
    Evaluation eval = UNREAD;
    std::string error;
    const bool read =
        c.side < 0 ? FindEvaluationNote(c.text, eval, error) : EvaluationFromUciInfo(c.text, c.side, eval, error);
    EXPECT_EQ(read, c.read) << c.text;
    EXPECT_EQ(eval, c.read ? c.eval : UNREAD) << c.text << " side " << c.side;
    EXPECT_EQ(error.empty(), c.read) << c.text;
  }
}

TEST(ReviewMathTest, ClassifiesByTheMoversLossAndByMatesLetIn) {
  struct Case {
    Evaluation before, after;
    int mover;
    MoveMark mark;
  } cases[] = {
      {Cp(0), Cp(-100), White, MoveMark::None},        // 9.10 points
      {Cp(0), Cp(-120), White, MoveMark::Inaccuracy},  // 10.9
      {Cp(100), Cp(-150), White, MoveMark::Mistake},   // 22.6
      {Cp(300), Cp(-100), White, MoveMark::Blunder},   // 34.2
      {Cp(0), Cp(100), Black, MoveMark::None},         // Black loses 9.10
      {Cp(0), Cp(300), Black, MoveMark::Mistake},      // Black loses 25.1
      {Cp(-300), Cp(300), Black, MoveMark::Blunder},   // 50.2
      {Cp(0), Cp(-300), Black, MoveMark::None},        // Black gains
      {Cp(-600), Mate(-8), White, MoveMark::Blunder},  // only 7.5 points, but a mate let in
      {Cp(600), Mate(4), Black, MoveMark::Blunder},    // the same for Black
      {Mate(-5), Mate(-3), White, MoveMark::None},     // the mate was there before
      {Mate(3), Mate(-2), White, MoveMark::Blunder},   // from mating to being mated
      {Mate(2), Cp(300), White, MoveMark::Mistake},    // a mate let slip: 22.4 points
      {Cp(-1000), Mate(-1), White, MoveMark::Blunder}, // lost anyway by Win%, yet mate is new
  };
  for (const Case &c : cases)
    EXPECT_EQ(Classify(c.before, c.after, c.mover), c.mark)
        << FormatEvaluation(c.before) << " -> " << FormatEvaluation(c.after) << " by " << c.mover;
  const std::tuple<MoveMark, int, std::string> marks[] = {{MoveMark::None, 0, ""},
                                                          {MoveMark::Inaccuracy, 6, "?!"},
                                                          {MoveMark::Mistake, 2, "?"},
                                                          {MoveMark::Blunder, 4, "??"}};
  for (const auto &m : marks) {
    EXPECT_EQ(MarkNag(std::get<0>(m)), std::get<1>(m));
    EXPECT_EQ(MarkSuffix(std::get<0>(m)), std::get<2>(m));
  }
}

// Worked by hand from the published curves: six plies, so windows of two
// Win% values (the move's own before and after).
//   ply  mover  eval after  mover's loss  accuracy  weight
//   0    W      0.20        0             99.9999   0.5
//   1    B      0.30        0.9185        95.9553   0.5
//   2    W      -2.50       24.2736       32.6879   12 (sd 12.8, clamped)
//   3    B      -2.50       0             99.9999   0.5
//   4    W      #-2         26.0299       30.0482   12 (sd 13.0, clamped)
//   5    B      #-1         0             99.9999   0.5
// White: weighted 32.7687, harmonic 40.6106 -> 36.6896.
// Black: weighted 98.6517, harmonic 98.6143 -> 98.6330.
TEST(ReviewMathTest, SummariseMatchesAWorkedExample) {
  const GameReview review = Summarise({Cp(20), Cp(20), Cp(30), Cp(-250), Cp(-250), Mate(-2), Mate(-1)}, White);
  ASSERT_TRUE(review.ok) << review.error;
  ASSERT_EQ(review.moves.size(), 6u);
  ASSERT_EQ(review.whiteWin.size(), 7u);
  const double accuracy[] = {99.9999, 95.9553, 32.6879, 99.9999, 30.0482, 99.9999};
  const double weight[] = {0.5, 0.5, 12, 0.5, 12, 0.5};
  const MoveMark mark[] = {MoveMark::None, MoveMark::None,    MoveMark::Mistake,
                           MoveMark::None, MoveMark::Blunder, MoveMark::None};
  for (size_t ply = 0; ply < 6; ++ply) {
    EXPECT_EQ(review.moves[ply].color, int(ply % 2));
    EXPECT_NEAR(review.moves[ply].accuracy, accuracy[ply], 1e-4) << ply;
    EXPECT_NEAR(review.moves[ply].weight, weight[ply], 1e-9) << ply;
    EXPECT_EQ(review.moves[ply].mark, mark[ply]) << ply;
  }
  const SideSummary &white = review.sides[White], &black = review.sides[Black];
  EXPECT_NEAR(white.accuracy, 36.6896, 1e-3);
  EXPECT_NEAR(black.accuracy, 98.6330, 1e-3);
  EXPECT_EQ(std::make_tuple(white.moves, white.inaccuracies, white.mistakes, white.blunders),
            std::make_tuple(3, 0, 1, 1));
  EXPECT_EQ(std::make_tuple(black.moves, black.inaccuracies, black.mistakes, black.blunders),
            std::make_tuple(3, 0, 0, 0));
}

TEST(ReviewMathTest, SummariseHandlesShortGamesAndRefusesNonGames) {
  // No move: nothing to judge for either side.
  GameReview review = Summarise({Cp(15)}, White);
  ASSERT_TRUE(review.ok) << review.error;
  EXPECT_TRUE(review.moves.empty());
  EXPECT_EQ(review.sides[White].moves + review.sides[Black].moves, 0);
  EXPECT_EQ(review.sides[White].accuracy + review.sides[Black].accuracy, 0);

  // One move by Black (a game set up with Black to move): Black alone is
  // judged, and with one move both means are that move's accuracy.
  review = Summarise({Cp(-50), Cp(400)}, Black);
  ASSERT_TRUE(review.ok) << review.error;
  ASSERT_EQ(review.moves.size(), 1u);
  EXPECT_EQ(review.moves[0].color, Black);
  EXPECT_EQ(review.sides[White].moves, 0);
  EXPECT_EQ(review.sides[Black].blunders, 1);
  EXPECT_NEAR(review.sides[Black].accuracy, review.moves[0].accuracy, 1e-9);
  EXPECT_LT(review.sides[Black].accuracy, 50);

  // Each side's only move, White's of accuracy 0 after a total collapse.
  review = Summarise({Cp(1000), Cp(-1000), Cp(-1000)}, White);
  ASSERT_TRUE(review.ok) << review.error;
  EXPECT_EQ(review.moves[0].accuracy, 0);
  // Weighted mean 0; in the harmonic mean the move counts as 1.
  EXPECT_NEAR(review.sides[White].accuracy, 0.5, 1e-9);
  EXPECT_NEAR(review.sides[Black].accuracy, 100, 1e-3);

  const std::pair<std::vector<Evaluation>, int> refused[] = {
      {{}, White}, {{Cp(0), Cp(10)}, 2}, {{Cp(0), Cp(10)}, -1}, {{Cp(0), Evaluation{true, 0}}, White}};
  for (const auto &c : refused) {
    review = Summarise(c.first, c.second);
    EXPECT_FALSE(review.ok);
    EXPECT_FALSE(review.error.empty());
  }
}

// A quiet game of plies moves whose evaluation swings once, from position
// swingAt to the next.
std::vector<Evaluation> QuietGameWithSwing(size_t plies, size_t swingAt) {
  std::vector<Evaluation> evals;
  for (size_t i = 0; i <= plies; ++i)
    evals.push_back(Cp(i <= swingAt ? 10 : -400));
  return evals;
}

TEST(ReviewMathTest, AMoveIsWeighedByTheWindowEndingAfterIt) {
  // 40 plies: windows of four Win% values. A swing between positions k and
  // k + 1 lies in the windows of moves k, k + 1 and k + 2 only; the first
  // three moves share the game's first window, so a swing early in the game
  // weighs on all of them. In 200 plies the windows hold eight values.
  struct Case {
    size_t plies, swingAt;
    std::vector<size_t> heavy;
  } cases[] = {{40, 30, {30, 31, 32}},
               {40, 0, {0, 1, 2}},
               {40, 1, {0, 1, 2, 3}},
               {40, 39, {39}},
               {200, 100, {100, 101, 102, 103, 104, 105, 106}}};
  for (const Case &c : cases) {
    const GameReview review = Summarise(QuietGameWithSwing(c.plies, c.swingAt), White);
    ASSERT_TRUE(review.ok) << review.error;
    std::vector<size_t> heavy;
    for (size_t ply = 0; ply < c.plies; ++ply)
      if (review.moves[ply].weight > 0.5)
        heavy.push_back(ply);
    EXPECT_EQ(heavy, c.heavy) << "swing after position " << c.swingAt;
  }
}

} // namespace
