// How games end in play, against the scripted engine and between two players:
// game over, the engine without a move, take back, resignation.
#include "tests/unit/game/GameFixture.h"

#include "tests/support/LogCapture.h"
#include "ui/GuiIds.h"

#include <algorithm>
#include <sstream>

namespace {

class Endings : public GameFixture {
protected:
  // Plays "e2e4 e7e5 ..." by clicks, each move after the game hands the turn
  // over, from straight above the side to move (no piece hides a square there).
  void ClickMoves(const std::string &line) {
    std::istringstream moves(line);
    std::string move;
    while (moves >> move) {
      ASSERT_TRUE(FramesUntil([] { return app.game.GetActivePlayer() == app.game.GetRecord().GetSideToMove(); }))
          << move;
      app.game.GetActivePlayer() == White ? app.cameraRig.SetWhiteView(true) : app.cameraRig.SetBlackView(true);
      ClickSquare(move.substr(0, 2).c_str());
      ClickSquare(move.substr(2, 2).c_str());
      ASSERT_NE(TokenOn(move.substr(2, 2).c_str()), -1) << move << " was not played";
    }
  }
  void StartTwoPlayers() {
    app.gui.ShowColorWindow();
    irr::SEvent event{};
    event.EventType = irr::EET_GUI_EVENT;
    event.GUIEvent.Caller = app.guiEnvironment->getRootGUIElement()->getElementFromId(ID_BUTTON_TWO_PLAYERS, true);
    event.GUIEvent.EventType = irr::gui::EGET_BUTTON_CLICKED;
    ASSERT_NE(event.GUIEvent.Caller, nullptr);
    EXPECT_TRUE(app.eventReceiver.OnEvent(event));
    app.cameraRig.SetWhiteView(true);
    Frames(1);
  }
  std::wstring Banner() const {
    irr::gui::IGUIStaticText *banner = app.gui.GetBannerText();
    return banner && banner->isVisible() ? banner->getText() : L"";
  }
  std::wstring Status() const { return app.gui.GetStatusText()->getText(); }
  static long LinesEqual(const testing_support::LogCapture &log, const std::string &line) {
    return std::count(log.Lines().begin(), log.Lines().end(), line);
  }
  std::string Moves() const {
    std::string text;
    for (const std::string &move : app.game.GetRecord().GetMoveTexts())
      text += (text.empty() ? "" : " ") + move;
    return text;
  }
};

} // namespace

TEST_F(Endings, TakeBackUndoesTheEnginesAnswerAndTheHumansMove) {
  // 1.e4 d5 2.exd5: take back the capture and the answer, then play on differently.
  StartProgram("bestmove d7d5 b8c6 g8f6\n");
  StartGame(White);
  testing_support::LogCapture log(app.device);
  EXPECT_FALSE(app.game.CanTakeBack()) << "no move yet";
  ClickMoves("e2e4");
  ASSERT_TRUE(FramesUntil([] { return app.game.GetActivePlayer() == White; }));
  ClickMoves("e4d5");
  const irr::s32 blackPawn = TokenOn("d5");
  ASSERT_TRUE(FramesUntil([] { return app.game.GetActivePlayer() == White && !app.game.IsAwaitingEcho(); }));
  ASSERT_EQ(Moves(), "e2e4 d7d5 e4d5 b8c6");
  EXPECT_EQ(LinesEqual(log, "Kelvar: CGame played e4d5"), 1);
  EXPECT_EQ(LinesEqual(log, "Kelvar: CGame played b8c6"), 1);

  ASSERT_TRUE(app.game.CanTakeBack());
  app.game.TakeBack();
  EXPECT_EQ(Moves(), "e2e4 d7d5");
  EXPECT_EQ(LinesEqual(log, "Kelvar: CGame take back to ply 2"), 1);
  EXPECT_NE(TokenOn("b8"), -1);
  EXPECT_NE(TokenOn("e4"), -1);
  EXPECT_NE(TokenOn("d5"), blackPawn) << "the captured pawn stands again";
  EXPECT_FALSE(app.map.GetToken(TokenOn("d5"))->IsCaptured());
  EXPECT_EQ(app.game.GetActivePlayer(), White);
  EXPECT_TRUE(EngineReceived("position startpos moves e2e4 d7d5\n"));
  EXPECT_EQ(LinesEqual(log, "Kelvar: CGame played b8c6"), 1) << "a take back is not logged as played";

  // A different move: the engine answers it from the position it was given.
  ClickMoves("g1f3");
  ASSERT_TRUE(FramesUntil([] { return app.game.GetActivePlayer() == White && !app.game.IsAwaitingEcho(); }));
  EXPECT_EQ(Moves(), "e2e4 d7d5 g1f3 g8f6");

  // Repeated take backs walk back to the start, and no further.
  app.game.TakeBack();
  app.game.TakeBack();
  EXPECT_EQ(Moves(), "");
  EXPECT_FALSE(app.game.CanTakeBack());
  EXPECT_EQ(LinesEqual(log, "Kelvar: CGame take back to ply 0"), 1);
  EXPECT_NE(TokenOn("e2"), -1);
}

TEST_F(Endings, TheEngineWithoutAMoveLeavesThePlayerInControl) {
  StartProgram("bestmove (none)\n");
  StartGame(White);
  testing_support::LogCapture log(app.device);
  ClickMoves("e2e4");
  ASSERT_TRUE(FramesUntil([] { return app.game.IsEngineStuck(); }));
  EXPECT_TRUE(MessageBoxSays(L"The engine has no move in this position"));
  EXPECT_TRUE(log.Contains("Kelvar: CGame the engine has no move in this position"));
  EXPECT_FALSE(app.game.IsGameOver());
  EXPECT_TRUE(app.game.CanResign());
  ASSERT_TRUE(app.game.CanTakeBack());
  app.game.TakeBack(); // only the human's move: the engine never answered
  EXPECT_EQ(Moves(), "");
  EXPECT_EQ(app.game.GetActivePlayer(), White);
  EXPECT_FALSE(app.game.IsEngineStuck());
}

TEST_F(Endings, AnIllegalEngineMoveIsNotWaitedOnEither) {
  StartProgram("bestmove e7e4\n");
  StartGame(White);
  ClickMoves("e2e3");
  // Refused each time and asked again; the third refusal gives the engine
  // up, and the players go on as two.
  ASSERT_TRUE(FramesUntil([] { return app.game.IsTwoPlayers(); }));
  EXPECT_NE(TokenOn("e7"), -1);
  EXPECT_EQ(Moves(), "e2e3");
}

TEST_F(Endings, ResignationEndsTheGameAsALoss) {
  StartProgram("bestmove e2e4\n");
  StartGame(Black);
  testing_support::LogCapture log(app.device);
  ASSERT_TRUE(FramesUntil([] { return app.game.GetActivePlayer() == Black; }));
  EXPECT_FALSE(app.game.CanTakeBack()) << "the engine's opening move alone is not taken back";
  ASSERT_TRUE(app.game.CanResign());
  app.game.Resign();
  EXPECT_TRUE(app.game.IsGameOver());
  EXPECT_EQ(Banner(), L"BLACK RESIGNS");
  EXPECT_EQ(Status(), L"Game Over: 1-0 (resignation)");
  EXPECT_EQ(LinesEqual(log, "Kelvar: CGame game over: 1-0 (resignation)"), 1);
  EXPECT_FALSE(app.game.CanResign());
  ClickSquare("e7");
  EXPECT_EQ(app.map.GetSelectedToken(), -1) << "no move after the end";
}

TEST_F(Endings, TwoPlayersMoveBothSidesWithoutTheEngineUntilRepetition) {
  StartProgram("");
  StartTwoPlayers();
  testing_support::LogCapture log(app.device);
  ASSERT_TRUE(app.game.IsTwoPlayers());
  ClickMoves("g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1");
  EXPECT_FALSE(app.game.IsGameOver());
  // One move taken back at a time, then played again.
  app.game.TakeBack();
  EXPECT_EQ(Moves(), "g1f3 g8f6 f3g1 f6g8 g1f3 g8f6");
  EXPECT_EQ(app.game.GetActivePlayer(), White);
  ClickMoves("f3g1 f6g8");
  EXPECT_TRUE(app.game.IsGameOver());
  EXPECT_EQ(Banner(), L"DRAW BY REPETITION");
  EXPECT_EQ(Status(), L"Game Over: 1/2-1/2 (repetition)");
  EXPECT_EQ(LinesEqual(log, "Kelvar: CGame game over: 1/2-1/2 (repetition)"), 1);
  EXPECT_EQ(LinesEqual(log, "Kelvar: CGame played f6g8"), 2);
  EXPECT_EQ(MovesSent(), "") << "the engine hears no move";
  EXPECT_EQ(Transcript().find("go"), std::string::npos);
  EXPECT_EQ(Transcript().find("position startpos moves"), std::string::npos);

  // After the end, take back reopens the game with the other side to move.
  app.game.TakeBack();
  EXPECT_FALSE(app.game.IsGameOver());
  EXPECT_EQ(Banner(), L"");
  EXPECT_EQ(app.game.GetActivePlayer(), Black);
}

TEST_F(Endings, TwoPlayersResignationIsTheSideToMoves) {
  StartProgram("");
  StartTwoPlayers();
  ClickMoves("e2e4");
  app.game.Resign();
  EXPECT_EQ(Banner(), L"BLACK RESIGNS");
  EXPECT_EQ(Status(), L"Game Over: 1-0 (resignation)");
}

// With the setting on, each move turns the camera behind the side to move;
// without it the camera stays where the players put it.
TEST_F(Endings, TwoPlayersTurnTheCameraToTheSideToMoveOnlyWhenAsked) {
  StartProgram("");
  StartTwoPlayers();
  const auto cameraZ = [] { return app.sceneManager->getActiveCamera()->getAbsolutePosition().Z; };
  app.cameraRig.SetWhiteView(false);
  ClickSquare("e2");
  ClickSquare("e4");
  Frames(60);
  EXPECT_LT(cameraZ(), 0.f) << "the camera stayed on White's side";

  CSettings turning = app.settings.Get();
  turning.turnCamera = true;
  app.settings.Apply(turning);
  ClickSquare("e7");
  ClickSquare("e5"); // Black moves from White's side; White is to move next
  ASSERT_TRUE(FramesUntil([&] { return cameraZ() < 0.f; }));
  app.cameraRig.SetWhiteView(false);
  Frames(60);
  ClickSquare("g1");
  ClickSquare("f3");
  EXPECT_TRUE(FramesUntil([&] { return cameraZ() > 0.f; })) << "the camera turned behind Black";
}

TEST_F(Endings, TheMatingClickDoesNotPressTheReviewButtonItBringsUp) {
  // The banner's Review button stands over the board. A mate played by a
  // press where the button then appears must leave the review closed.
  StartProgram("");
  StartTwoPlayers();
  ClickMoves("f2f3 e7e5 g2g4");
  ASSERT_TRUE(FramesUntil([] { return app.game.GetActivePlayer() == Black; }));
  app.cameraRig.SetBlackView(true);
  ClickSquare("d8");
  const irr::core::position2di h4 = app.sceneManager->getSceneCollisionManager()->getScreenCoordinatesFrom3DPosition(
      app.map.GetSquareWorldPosition(7, 3), app.cameraRig.GetCamera());
  // The banner is placed once, where it is first shown: here, so that its
  // button comes up under h4's centre.
  const irr::s32 buttonTop = h4.Y - 10;
  app.gui.ShowBanner(irr::core::rect<irr::s32>(h4.X - 150, buttonTop - 6 - 60, h4.X + 150, buttonTop - 6), L"",
                     irr::video::SColor(255, 255, 0, 0));
  app.gui.SetBannerVisible(false);

  ClickSquare("h4");
  ASSERT_TRUE(app.game.IsGameOver());
  irr::gui::IGUIElement *button = app.guiEnvironment->getRootGUIElement()->getElementFromId(ID_BANNER_REVIEW, true);
  ASSERT_NE(button, nullptr);
  ASSERT_TRUE(button->isVisible());
  ASSERT_TRUE(button->getAbsolutePosition().isPointInside(h4)) << "the button came up under the pointer";
  Frames(2);
  EXPECT_FALSE(app.review.IsOpen());
  EXPECT_NE(Banner(), L"") << "the banner stays";

  // A press of its own still opens the review.
  testing_support::PostMouse(irr::EMIE_LMOUSE_PRESSED_DOWN, h4.X, h4.Y);
  testing_support::PostMouse(irr::EMIE_LMOUSE_LEFT_UP, h4.X, h4.Y);
  Frames(2);
  EXPECT_TRUE(app.review.IsOpen());
}
