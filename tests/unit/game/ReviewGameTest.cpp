// The review inside the game, on the null driver with the scripted engine
// judging every position: the marks and the summary line, stepping through
// the game on the board with the keys (the better move's arrow and the
// evaluation bar following), the board given back on Close, cancelling, and
// what cannot be reviewed.
#include "tests/unit/game/GameFixture.h"

#include "scene/CMap.h"
#include "tests/support/LogCapture.h"
#include "ui/CEvalBar.h"

namespace {

const char *const SCHOLARS_MATE = "[Event \"Test\"]\n[Result \"1-0\"]\n\n"
                                  "1. e4 e5 2. Qh5 Nc6 3. Bc4 Nf6 4. Qxf7# 1-0\n";

// One search reply per position the engine is asked about (the mate at the
// end is judged without it); scores from the side to move, as engines give them.
const char *const FINDINGS = "reply go info depth 9 score cp 30 pv e2e4\\nbestmove e2e4\\n\n"
                             "reply go info depth 9 score cp -25 pv e7e5\\nbestmove e7e5\\n\n"
                             "reply go info depth 9 score cp 30 pv g1f3\\nbestmove g1f3\\n\n"
                             "reply go info depth 9 score cp 20 pv b8c6\\nbestmove b8c6\\n\n"
                             "reply go info depth 9 score cp -10 pv f1c4\\nbestmove f1c4\\n\n"
                             "reply go info depth 9 score cp -10 pv g7g6\\nbestmove g7g6\\n\n"
                             "reply go info depth 9 score mate 1 pv h5f7\\nbestmove h5f7\\n\n";

class ReviewGame : public GameFixture {
protected:
  void OpenFinishedGame(const std::string &script) {
    StartProgram(script);
    app.gameFiles.OpenGame(WriteFile("scholar.pgn", SCHOLARS_MATE));
    ASSERT_TRUE(app.game.IsGameOver());
  }
  static irr::s32 ColorOn(const char *square) {
    const irr::s32 token = TokenOn(square);
    return token < 0 ? -1 : app.map.GetTokenColor(token);
  }
};

} // namespace

TEST_F(ReviewGame, MarksTheBlunderAndStepsThroughTheGame) {
  OpenFinishedGame(FINDINGS);
  testing_support::LogCapture log(app.device);
  ASSERT_TRUE(app.review.ReviewCurrentGame());
  EXPECT_FALSE(app.gui.GetBannerText()->isVisible()); // the board is the review's
  ASSERT_TRUE(FramesUntil([] { return app.review.IsReviewed(); }));
  EXPECT_TRUE(log.Contains("Kelvar: review of the game on the board: 7 plies, 300000 nodes a position"));
  bool summary = false;
  for (const std::string &line : log.Lines())
    summary |= line.rfind("Kelvar: review done 7 plies in ", 0) == 0 &&
               line.find("; white 0/0/0, black 0/0/1") != std::string::npos;
  EXPECT_TRUE(summary);
  const std::wstring row = app.review.GetWindow().GetList()->getListItem(6);
  EXPECT_EQ(std::string(row.begin(), row.end()), "3... Nf6??    #1");

  // The review starts at the game's end: the queen stands on f7.
  EXPECT_EQ(app.review.GetShownPosition(), 7u);
  EXPECT_EQ(ColorOn("f7"), White);
  Press(irr::KEY_LEFT);
  EXPECT_EQ(app.review.GetShownPosition(), 6u);
  EXPECT_EQ(ColorOn("f7"), Black);
  const CBoardArrow &arrow = app.review.GetBoard().GetArrow();
  ASSERT_TRUE(arrow.IsShown());
  EXPECT_TRUE(arrow.From() == Square("g7") && arrow.To() == Square("g6"));
  EXPECT_EQ(app.review.GetEvalBar()->Label(), L"#1");
  EXPECT_DOUBLE_EQ(app.review.GetEvalBar()->WhiteShare(), chess::WinPercent(chess::Evaluation::MateIn(1)) / 100);
  const std::wstring said = app.review.GetWindow().GetMoveText()->getText();
  EXPECT_EQ(std::string(said.begin(), said.end()), "3... Nf6?? is a blunder\nBetter was g6 (0.10)");

  Press(irr::KEY_LEFT); // 3. Bc4 is no mistake: no arrow
  EXPECT_FALSE(arrow.IsShown());
  EXPECT_EQ(app.review.GetEvalBar()->Label(), L"+0.10");
  Press(irr::KEY_HOME);
  EXPECT_EQ(ColorOn("e2"), White);
  EXPECT_EQ(ColorOn("e4"), -1);
  Press(irr::KEY_LEFT); // nothing before the start
  EXPECT_EQ(app.review.GetShownPosition(), 0u);
  Press(irr::KEY_END);
  EXPECT_EQ(ColorOn("f7"), White);
  Press(irr::KEY_HOME);

  // The game's own take back waits while the review holds the board.
  EXPECT_FALSE(app.game.CanTakeBack());
  const chess::PgnGame annotated = app.review.AnnotatedGame();
  EXPECT_NE(annotated.FindTag("BlackAccuracy"), nullptr);
  EXPECT_EQ(annotated.NotesOf(5).nags, std::vector<int>{4});

  app.review.Close();
  EXPECT_FALSE(app.review.IsOpen());
  EXPECT_EQ(app.review.GetEvalBar(), nullptr);
  EXPECT_EQ(ColorOn("f7"), White); // the game's last position again
  EXPECT_EQ(ColorOn("e2"), -1);
  EXPECT_TRUE(app.gui.GetBannerText()->isVisible());
  BoardSquare from, to;
  ASSERT_TRUE(app.map.GetLastMove(from, to));
  EXPECT_TRUE(from == Square("h5") && to == Square("f7"));
}

TEST_F(ReviewGame, CancelStopsTheEngineAndKeepsTheWindow) {
  OpenFinishedGame("reply go {sleep 20000}\n");
  testing_support::LogCapture log(app.device);
  ASSERT_TRUE(app.review.ReviewCurrentGame());
  Frames(5);
  EXPECT_EQ(app.review.GetRun().GetStatus(), CAnalysisRun::Status::Running);
  EXPECT_TRUE(app.review.GetWindow().GetCancelButton()->isEnabled());
  app.review.Cancel();
  EXPECT_EQ(app.review.GetRun().GetStatus(), CAnalysisRun::Status::Cancelled);
  EXPECT_TRUE(log.Contains("Kelvar: review cancelled after 1 of 8 positions"));
  EXPECT_TRUE(app.review.IsOpen());
  EXPECT_FALSE(app.review.GetWindow().GetCancelButton()->isEnabled());
  EXPECT_FALSE(app.review.GetWindow().GetSaveButton()->isEnabled());
  app.review.Close();
}

TEST_F(ReviewGame, RefusesWhatCannotBeReviewed) {
  StartProgram("");
  testing_support::LogCapture log(app.device);
  EXPECT_FALSE(app.review.ReviewCurrentGame()); // no game yet
  EXPECT_TRUE(MessageBoxSays(L"There is no move to review yet."));
  EXPECT_FALSE(app.review.IsOpen());

  // A file whose moves break the rules, given with --review.
  app.review.ReviewFileAfterStartup(WriteFile("broken.pgn", "1. e4 e5 2. Ke3 *\n"));
  Frames(2);
  EXPECT_FALSE(app.review.IsOpen());
  bool refused = false;
  for (const std::string &line : log.Lines())
    refused |= line.rfind("Kelvar: review of ", 0) == 0 && line.find("broken.pgn refused: line ") != std::string::npos;
  EXPECT_TRUE(refused);
}
