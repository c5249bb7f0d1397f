// Whole games on the null driver against the scripted test engine.
#include "tests/unit/game/GameFixture.h"

#include "scene/CGameLabel.h"
#include "tests/support/LogCapture.h"
#include "ui/GuiIds.h"

#include <algorithm>

namespace {

bool Contains(const std::string &text, const std::string &part) { return text.find(part) != std::string::npos; }

long LinesEqual(const testing_support::LogCapture &log, const std::string &line) {
  return std::count(log.Lines().begin(), log.Lines().end(), line);
}

size_t Count(const std::string &text, const std::string &part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++n;
  return n;
}

bool LabelsLitFor(irr::s32 color) {
  const bool white = color == White;
  return app.map.GetLabel(0)->IsHighlighted() == white && app.map.GetLabel(2)->IsHighlighted() == white &&
         app.map.GetLabel(1)->IsHighlighted() == !white && app.map.GetLabel(3)->IsHighlighted() == !white;
}

} // namespace

using StartupPhase = GameFixture;
using HumanWhite = GameFixture;
using HumanBlack = GameFixture;
using CheckMate = GameFixture;

TEST_F(StartupPhase, EndsOnlyAfterMoreThanFiveSeconds) {
  StartProgram("", false);
  EXPECT_EQ(app.game.GetState(), Startup);
  EXPECT_NE(app.gui.GetSplashTexture(), nullptr);
  // Frames run in real time here, so stop short of the limit by a margin.
  AdvanceMs(4000);
  Frames(2);
  EXPECT_EQ(app.game.GetState(), Startup);
  AdvanceMs(1100);
  Frames(1);
  EXPECT_EQ(app.game.GetState(), Idle);
  EXPECT_EQ(app.gui.GetSplashTexture(), nullptr);
}

TEST_F(StartupPhase, EndsAcrossTheTickCountersWrap) {
  fakeNow = 0xFFFFFFFFu - 2000u; // the phase starts just before the wrap
  fakeNow -= platform::GetTickCount();
  StartProgram("", false);
  AdvanceMs(4000); // now past the wrap, but only four seconds in
  Frames(1);
  EXPECT_EQ(app.game.GetState(), Startup);
  AdvanceMs(1100);
  Frames(1);
  EXPECT_EQ(app.game.GetState(), Idle);
}

TEST_F(StartupPhase, AGameChosenDuringStartupBeginsAtOnceAndKeepsTheSplash) {
  StartProgram("", false);
  StartGame(White);
  AdvanceMs(6000);
  Frames(2);
  EXPECT_EQ(app.game.GetState(), LocalGame); // the timer no longer applies
  EXPECT_NE(app.gui.GetSplashTexture(), nullptr);
}

TEST_F(StartupPhase, AbortDuringStartupGoesIdleAtOnce) {
  StartProgram("", false);
  app.game.SetState(Idle);
  EXPECT_EQ(app.game.GetState(), Idle);
  EXPECT_EQ(app.gui.GetSplashTexture(), nullptr);
  AdvanceMs(6000);
  Frames(1);
  EXPECT_EQ(app.game.GetState(), Idle);
}

TEST_F(HumanWhite, EngineAnswersArePlayedLitThenTheEchoIsSwallowed) {
  // The echo of the engine's move is answered only after a pause, so the
  // state in between can be seen.
  StartProgram("bestmove e7e5\nreply echo {sleep 400}bestmove 0000\\n\n");
  StartGame(White);
  Frames(5);
  ASSERT_TRUE(EngineReceived("position startpos\n"));
  EXPECT_FALSE(Contains(Transcript(), "go\n")) << "nothing is sent before the human moves";
  EXPECT_TRUE(LabelsLitFor(White));

  ClickSquare("e2");
  EXPECT_EQ(app.map.GetSelectedToken(), TokenOn("e2"));
  ClickSquare("e4");
  EXPECT_EQ(app.game.GetActivePlayer(), Black);
  EXPECT_TRUE(LabelsLitFor(Black));
  ASSERT_TRUE(FramesUntil([] { return TokenOn("e5") != -1; }));
  const irr::s32 blackPawn = TokenOn("e5");
  EXPECT_EQ(app.map.GetToken(blackPawn)->GetColor(), Black);
  EXPECT_EQ(app.map.GetSelectedToken(), blackPawn); // lit until the echo is in
  EXPECT_TRUE(app.game.IsAwaitingEcho());
  EXPECT_EQ(app.game.GetActivePlayer(), Black);
  EXPECT_TRUE(EngineReceived("e7e5\n")) << "the engine's move goes back to it";
  EXPECT_EQ(MovesSent(), "e2e4\ne7e5\n");

  ASSERT_TRUE(FramesUntil([] { return app.game.GetActivePlayer() == White; }));
  EXPECT_FALSE(app.game.IsAwaitingEcho());
  EXPECT_EQ(app.map.GetSelectedToken(), -1);
  EXPECT_TRUE(LabelsLitFor(White));
  EXPECT_EQ(app.engine.GetMovesHistory(), irr::core::stringw(L"e2e4\ne7e5\n"));
}

TEST_F(HumanWhite, ClicksDuringTheEnginesTurnAreIgnoredAndRightClickDropsTheSelection) {
  StartProgram("reply search {sleep 600}bestmove e7e5\\n\n");
  StartGame(White);
  ClickSquare("g1");
  EXPECT_EQ(app.map.GetSelectedToken(), TokenOn("g1"));
  ClickSquare("g1", false);
  EXPECT_EQ(app.map.GetSelectedToken(), -1);

  ClickSquare("d2");
  ClickSquare("d4");
  ASSERT_EQ(app.game.GetActivePlayer(), Black);
  const irr::s32 movedPawn = TokenOn("d4");
  ClickSquare("b1"); // the engine is thinking: no selection, no move
  ClickSquare("c3");
  EXPECT_EQ(TokenOn("c3"), -1);
  EXPECT_EQ(app.map.GetSelectedToken(), movedPawn);
  ClickSquare("e2", false); // nor does a right click clear the lit move
  EXPECT_EQ(app.map.GetSelectedToken(), movedPawn);
}

TEST_F(HumanWhite, AnIllegalEngineMoveLeavesTheBoardAndTheTurnAlone) {
  StartProgram("bestmove e7e4\n");
  StartGame(White);
  testing_support::LogCapture log(app.device);
  ClickSquare("e2");
  ClickSquare("e3");
  // Wait until the game has fetched the engine's move.
  ASSERT_TRUE(FramesUntil([&] { return log.Contains("Kelvar: e7e4"); }));
  Frames(10);
  EXPECT_NE(TokenOn("e7"), -1);
  EXPECT_EQ(TokenOn("e4"), -1);
  EXPECT_EQ(app.game.GetActivePlayer(), Black);
  EXPECT_FALSE(app.game.IsAwaitingEcho());
  EXPECT_EQ(Count(Transcript(), "e7e4"), 0u);
}

TEST_F(HumanBlack, TheEngineOpensAfterGoAndThenItIsBlacksTurn) {
  // The answer takes a while, so the click below surely comes before it.
  StartProgram("reply go {sleep 500}bestmove e2e4\\n\n");
  StartGame(Black);
  EXPECT_TRUE(EngineReceived("position startpos\n"));
  EXPECT_TRUE(EngineReceived("go\n"));
  EXPECT_EQ(app.game.GetActivePlayer(), White);
  EXPECT_TRUE(LabelsLitFor(White));
  ClickSquare("e7"); // not the human's turn yet
  EXPECT_EQ(app.map.GetSelectedToken(), -1);

  ASSERT_TRUE(FramesUntil([] { return app.game.GetActivePlayer() == Black; }));
  EXPECT_EQ(app.map.GetToken(TokenOn("e4"))->GetColor(), White);
  EXPECT_TRUE(EngineReceived("e2e4\n"));
  EXPECT_LT(Transcript().find("go\n"), Transcript().find("e2e4\n"));
  EXPECT_TRUE(LabelsLitFor(Black));
  ClickSquare("e7");
  ClickSquare("e5");
  EXPECT_EQ(app.map.GetToken(TokenOn("e5"))->GetColor(), Black);
}

TEST_F(HumanBlack, AnEnginePromotionIsHandedBackWithAQueenLetter) {
  // 1.a4 h5 2.a5 h4 3.a6 h3 4.axb7 hxg2 5.bxa8=Q: the engine's pawn promotes.
  StartProgram("bestmove a2a4 a4a5 a5a6 a6b7 b7a8\n");
  StartGame(Black);
  const char *replies[][2] = {{"h7", "h5"}, {"h5", "h4"}, {"h4", "h3"}, {"h3", "g2"}};
  for (auto &reply : replies) {
    ASSERT_TRUE(FramesUntil([] { return app.game.GetActivePlayer() == Black; }));
    ClickSquare(reply[0]);
    ASSERT_EQ(app.map.GetSelectedToken(), TokenOn(reply[0])) << reply[0];
    ClickSquare(reply[1]);
    ASSERT_EQ(app.game.GetActivePlayer(), White) << reply[0] << reply[1];
  }
  ASSERT_TRUE(FramesUntil([] { return app.game.GetActivePlayer() == Black; }));
  const irr::s32 queen = TokenOn("a8");
  ASSERT_NE(queen, -1);
  EXPECT_EQ(app.map.GetToken(queen)->GetType(), Queen);
  EXPECT_EQ(app.map.GetToken(queen)->GetColor(), White);
  EXPECT_TRUE(EngineReceived("b7a8q\n"));
}

TEST_F(GameFixture, ANewGameNeverStartsWithAnEchoOutstanding) {
  StartProgram("bestmove e7e5\nreply echo {sleep 1500}bestmove 0000\\n\n");
  StartGame(White);
  ClickSquare("e2");
  ClickSquare("e4");
  ASSERT_TRUE(FramesUntil([] { return app.game.IsAwaitingEcho(); }));
  app.game.SetState(Idle); // "Abort" while the echo is still out
  StartGame(Black);
  EXPECT_FALSE(app.game.IsAwaitingEcho());
  EXPECT_EQ(app.engine.GetMovesHistory(), irr::core::stringw(L""));
}

TEST_F(CheckMate, TheHumansMateEndsTheGameAndNothingIsSearched) {
  // Scholar's mate: 1.e4 e5 2.Bc4 Nc6 3.Qh5 Nf6 4.Qxf7#.
  StartProgram("bestmove e7e5 b8c6 g8f6\n");
  testing_support::LogCapture log(app.device);
  StartGame(White);
  const char *moves[][2] = {{"e2", "e4"}, {"f1", "c4"}, {"d1", "h5"}};
  for (auto &move : moves) {
    ClickSquare(move[0]);
    ClickSquare(move[1]);
    ASSERT_TRUE(FramesUntil([] { return app.game.GetActivePlayer() == White; })) << move[0];
  }
  EXPECT_FALSE(BannerShown());
  ClickSquare("h5");
  ClickSquare("f7");
  EXPECT_TRUE(BannerShown());
  EXPECT_STREQ(app.gui.GetBannerText()->getText(), L"CHECK MATE!\nWhite wins");
  EXPECT_STREQ(app.gui.GetStatusText()->getText(), L"Game Over: 1-0 (checkmate)");
  EXPECT_TRUE(app.game.GetRecord().GetPosition().IsCheckmate());
  EXPECT_TRUE(app.game.IsGameOver());
  EXPECT_EQ(LinesEqual(log, "Kelvar: CGame game over: 1-0 (checkmate)"), 1);
  // The engine learns the final position, and is asked for nothing more.
  EXPECT_TRUE(EngineReceived("position startpos moves e2e4 e7e5 f1c4 b8c6 d1h5 g8f6 h5f7\n"));
  Frames(20);
  EXPECT_EQ(Count(MovesSent(), "h5f7"), 0u);

  // No move is accepted after the end; the banner stays until Abort. (The
  // squares clicked lie clear of the banner's Review button.)
  ClickSquare("e1");
  EXPECT_EQ(app.map.GetSelectedToken(), -1);
  ClickSquare("a2");
  ClickSquare("a3");
  EXPECT_NE(TokenOn("a2"), -1);
  Frames(5);
  EXPECT_TRUE(BannerShown());
  app.game.SetState(Idle);
  EXPECT_FALSE(BannerShown());
}

TEST_F(CheckMate, TheEnginesMateEndsTheGameWithoutAHandBack) {
  // Fool's mate: 1.f3 e5 2.g4 Qh4#.
  StartProgram("bestmove e7e5 d8h4\n");
  StartGame(White);
  ClickSquare("f2");
  ClickSquare("f3");
  ASSERT_TRUE(FramesUntil([] { return app.game.GetActivePlayer() == White; }));
  ClickSquare("g2");
  ClickSquare("g4");
  ASSERT_TRUE(FramesUntil([] { return TokenOn("h4") != -1; }));
  EXPECT_TRUE(BannerShown());
  EXPECT_STREQ(app.gui.GetBannerText()->getText(), L"CHECK MATE!\nBlack wins");
  EXPECT_STREQ(app.gui.GetStatusText()->getText(), L"Game Over: 0-1 (checkmate)");
  EXPECT_EQ(app.game.GetActivePlayer(), White);
  EXPECT_FALSE(app.game.IsAwaitingEcho());
  EXPECT_TRUE(EngineReceived("position startpos moves f2f3 e7e5 g2g4 d8h4\n"));
  EXPECT_EQ(Count(MovesSent(), "d8h4"), 0u) << "the mating move is not handed back";

  // Start after the end begins a fresh game.
  StartGame(White);
  EXPECT_FALSE(app.game.IsGameOver());
  EXPECT_FALSE(BannerShown());
  EXPECT_EQ(app.game.GetRecord().GetPlyCount(), 0u);
  EXPECT_NE(TokenOn("d8"), -1);
  EXPECT_STREQ(app.gui.GetStatusText()->getText(), L"Game Status: Local Game Running");
}
