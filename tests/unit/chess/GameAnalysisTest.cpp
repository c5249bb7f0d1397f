// The game under review: which positions need the engine, the marks and the
// better move from the findings, and the notes a reviewed game is saved with.
#include "chess/CGameAnalysis.h"
#include "chess/CPgnReader.h"
#include "chess/CPgnWriter.h"
#include "tests/unit/chess/ChessTestSupport.h"

#include <gtest/gtest.h>

using namespace chess;

namespace {

// 1. e4 e5 2. Qh5 Nc6 3. Bc4 Nf6?? 4. Qxf7#, with a clock note on 2...Nc6,
// an old evaluation and an old mark on 3. Bc4 that the review replaces.
const char *const SCHOLARS_MATE =
    "[Event \"?\"]\n[Site \"?\"]\n[Date \"?\"]\n[Round \"?\"]\n[White \"?\"]\n"
    "[Black \"?\"]\n[Result \"1-0\"]\n\n"
    "1. e4 e5 2. Qh5 Nc6 {[%clk 0:04:50]} 3. Bc4 $2 {[%eval 9.99] good} Nf6 4. Qxf7# 1-0\n";

PgnGame ReadGame(const char *text) {
  PgnGame game;
  PgnError error;
  EXPECT_TRUE(CPgnReader::Read(text, game, error)) << error.reason;
  return game;
}

// Findings as an engine might give them: even until Black's blunder, then
// White mates in 1; the best move in each position as named.
void RecordFindings(CGameAnalysis &analysis) {
  const struct {
    Evaluation eval;
    const char *best;
  } findings[] = {
      {Evaluation::Centipawns(30), "e2e4"},  {Evaluation::Centipawns(25), "e7e5"},
      {Evaluation::Centipawns(30), "g1f3"},  {Evaluation::Centipawns(-20), "b8c6"},
      {Evaluation::Centipawns(-10), "g1f3"}, {Evaluation::Centipawns(10), "g7g6"},
      {Evaluation::MateIn(1), "h5f7"},
  };
  for (size_t i = 0; i < sizeof findings / sizeof findings[0]; ++i) {
    ASSERT_EQ(analysis.NextToAnalyse(), i);
    analysis.Record(i, {findings[i].eval, findings[i].best});
  }
}

TEST(GameAnalysis, PositionsWithoutMovesAreJudgedByTheRules) {
  CGameAnalysis analysis;
  std::string error;
  ASSERT_TRUE(analysis.Start(ReadGame(SCHOLARS_MATE), error)) << error;
  EXPECT_EQ(analysis.Plies(), 7u);
  EXPECT_EQ(analysis.PositionCount(), 8u);
  // The mated position needs no engine: a mate in 1 of White.
  EXPECT_TRUE(analysis.IsJudged(7));
  EXPECT_EQ(analysis.FindingAt(7).eval, Evaluation::MateIn(1));
  EXPECT_EQ(analysis.JudgedCount(), 1u);
  EXPECT_FALSE(analysis.Review().ok);

  // Stalemate is even. Black to move, stalemated after 1. Qb6-c7?? is not
  // possible here, so start from the stalemate itself.
  PgnGame stalemate;
  stalemate.startFen = "k7/2Q5/1K6/8/8/8/8/8 b - - 0 1";
  ASSERT_TRUE(analysis.Start(stalemate, error)) << error;
  EXPECT_TRUE(analysis.IsComplete());
  EXPECT_EQ(analysis.FindingAt(0).eval, Evaluation::Centipawns(0));
  const GameReview review = analysis.Review();
  ASSERT_TRUE(review.ok) << review.error;
  EXPECT_TRUE(review.moves.empty());
}

TEST(GameAnalysis, RefusesAGameWithAnIllegalMove) {
  PgnGame game;
  game.moves = {chess_testing::Uci("e2e4"), chess_testing::Uci("e2e4")};
  CGameAnalysis analysis;
  std::string error;
  EXPECT_FALSE(analysis.Start(game, error));
  EXPECT_NE(error.find("ply 2 (Black), e2e4, is not legal"), std::string::npos) << error;
  game.startFen = "not a position";
  EXPECT_FALSE(analysis.Start(game, error));
  EXPECT_NE(error.find("start position"), std::string::npos) << error;
}

TEST(GameAnalysis, MarksTheBlunderAndNamesTheBetterMove) {
  CGameAnalysis analysis;
  std::string error;
  ASSERT_TRUE(analysis.Start(ReadGame(SCHOLARS_MATE), error));
  RecordFindings(analysis);
  ASSERT_TRUE(analysis.IsComplete());
  const GameReview review = analysis.Review();
  ASSERT_TRUE(review.ok) << review.error;
  for (size_t ply = 0; ply < review.moves.size(); ++ply)
    EXPECT_EQ(review.moves[ply].mark, ply == 5 ? MoveMark::Blunder : MoveMark::None) << "ply " << ply;
  EXPECT_EQ(analysis.SanAt(5), "Nf6");
  EXPECT_EQ(analysis.BetterMoveSan(review, 5), "g6");
  // Unmarked moves, and a marked move that was the engine's own choice, have none.
  EXPECT_EQ(analysis.BetterMoveSan(review, 4), "");
  EXPECT_EQ(analysis.SanAt(6), "Qxf7#");
  EXPECT_EQ(CGameAnalysis::SummaryLine(review, 7, 1234).substr(0, 46),
            "review done 7 plies in 1234 ms: white accuracy");
  EXPECT_NE(CGameAnalysis::SummaryLine(review, 7, 1234).find("; white 0/0/0, black 0/0/1"), std::string::npos);

  // The record of a game played gives the same positions as its file.
  CGameRecord record;
  for (const Move &move : ReadGame(SCHOLARS_MATE).moves)
    ASSERT_TRUE(record.Play(move));
  CGameAnalysis played;
  played.Start(record);
  ASSERT_EQ(played.PositionCount(), analysis.PositionCount());
  for (size_t i = 0; i < played.PositionCount(); ++i)
    EXPECT_EQ(played.PositionAt(i).GetFen(), analysis.PositionAt(i).GetFen());
}

TEST(GameAnalysis, AnnotatedGameKeepsItsNotesAndReadsBack) {
  PgnGame game = ReadGame(SCHOLARS_MATE);
  CGameAnalysis analysis;
  std::string error;
  ASSERT_TRUE(analysis.Start(game, error));
  RecordFindings(analysis);
  const GameReview review = analysis.Review();
  analysis.Annotate(game, review);

  std::string text;
  ASSERT_TRUE(CPgnWriter::Write(game, text, error)) << error;
  EXPECT_NE(text.find("[WhiteAccuracy \""), std::string::npos) << text;
  EXPECT_NE(text.find("[BlackAccuracy \""), std::string::npos) << text;
  PgnGame back = ReadGame(text.c_str());
  EXPECT_EQ(back, game);

  // Each move but the mate carries the evaluation of the position it reached.
  for (size_t ply = 0; ply < 7; ++ply) {
    Evaluation eval;
    std::string noteError;
    const std::vector<std::string> &comments = back.NotesOf(ply).comments;
    const bool found = !comments.empty() && FindEvaluationNote(comments[0], eval, noteError);
    EXPECT_EQ(found, ply < 6) << "ply " << ply;
    if (found) {
      EXPECT_EQ(eval, analysis.FindingAt(ply + 1).eval) << "ply " << ply;
    }
  }
  // The clock stays; the old evaluation and the old mark of 3. Bc4 go, its words stay.
  EXPECT_EQ(back.NotesOf(3).comments, (std::vector<std::string>{"[%eval -0.10]", "[%clk 0:04:50]"}));
  EXPECT_EQ(back.NotesOf(4).comments, (std::vector<std::string>{"[%eval 0.10]", "good"}));
  EXPECT_TRUE(back.NotesOf(4).nags.empty());
  EXPECT_EQ(back.NotesOf(5).nags, std::vector<int>{4});

  // A second review of the annotated game writes the same notes again.
  PgnGame again = back;
  analysis.Annotate(again, review);
  EXPECT_EQ(again, back);
}

} // namespace
