// Playing from the default side view: clicks land on what is drawn.
#include "tests/unit/game/GameFixture.h"

#include "ui/GuiIds.h"

using SideView = GameFixture;

TEST_F(SideView, AfterE4Nf6TheKnightOnG1GoesToTheCentreOfF3) {
  // From behind White at an angle, the pawn on f2 is drawn in front of f3's
  // back edge but not over its centre: the click on f3 must reach the square.
  StartProgram("bestmove g8f6\n");
  StartGame(White);
  app.cameraRig.SetWhiteView(false);
  ClickSquare("e2");
  ClickSquare("e4");
  ASSERT_TRUE(FramesUntil([] { return app.game.GetActivePlayer() == White; }));
  ASSERT_NE(TokenOn("f6"), -1);

  const irr::s32 knight = TokenOn("g1");
  ClickSquare("g1");
  ASSERT_EQ(app.map.GetSelectedToken(), knight);
  ClickSquare("f3");
  EXPECT_EQ(TokenOn("f3"), knight);
  EXPECT_NE(TokenOn("f2"), -1) << "the pawn stays where it is";
  EXPECT_TRUE(EngineReceived("g1f3\n"));
}

TEST_F(SideView, AClickOnAnEnemyPieceOnATargetPlaysTheCapture) {
  // 1.e4 d5: the pawn on d5 is a target of e4; its head is drawn over the
  // squares behind it, and a click there must take it.
  StartProgram("bestmove d7d5\n");
  StartGame(White);
  app.cameraRig.SetWhiteView(false);
  ClickSquare("e2");
  ClickSquare("e4");
  ASSERT_TRUE(FramesUntil([] { return app.game.GetActivePlayer() == White; }));
  const irr::s32 blackPawn = TokenOn("d5");
  ASSERT_NE(blackPawn, -1);
  const irr::s32 whitePawn = TokenOn("e4");
  ClickSquare("e4");
  ASSERT_EQ(app.map.GetSelectedToken(), whitePawn);

  // The top of the black pawn, as drawn once it has landed.
  ASSERT_TRUE(FramesUntil([] { return !app.map.IsAnimating(); }));
  const irr::core::aabbox3df box = app.map.GetToken(blackPawn)->GetMeshNode()->getTransformedBoundingBox();
  const irr::core::vector3df head(box.getCenter().X, box.MinEdge.Y + 0.85f * (box.MaxEdge.Y - box.MinEdge.Y),
                                  box.getCenter().Z);
  const irr::core::position2di pixel =
      app.sceneManager->getSceneCollisionManager()->getScreenCoordinatesFrom3DPosition(head, app.cameraRig.GetCamera());
  testing_support::PostMouse(irr::EMIE_LMOUSE_PRESSED_DOWN, pixel.X, pixel.Y);
  testing_support::PostMouse(irr::EMIE_LMOUSE_LEFT_UP, pixel.X, pixel.Y);
  EXPECT_TRUE(app.map.GetToken(blackPawn)->IsCaptured());
  EXPECT_EQ(TokenOn("d5"), whitePawn);
  EXPECT_TRUE(EngineReceived("e4d5\n"));
}

TEST_F(SideView, ClicksWhileMovesAreStillTravellingActOnThePositionAfterThem) {
  StartProgram("bestmove e7e5\n");
  StartGame(White);
  app.cameraRig.SetWhiteView(false);
  // With the device's clock held, both moves stay at the start of their journeys.
  app.device->getTimer()->stop();
  ClickSquare("e2");
  ClickSquare("e4");
  ASSERT_TRUE(FramesUntil([] { return app.game.GetActivePlayer() == White; }));
  ASSERT_TRUE(app.map.IsAnimating());
  const irr::s32 blackPawn = TokenOn("e5");
  ASSERT_NE(blackPawn, -1);
  EXPECT_EQ(app.map.GetToken(blackPawn)->GetWorldPosition(), app.map.GetSquareWorldPosition(4, 6))
      << "the engine's pawn is still drawn on e7";

  const irr::s32 knight = TokenOn("g1");
  ClickSquare("g1");
  ClickSquare("f3");
  EXPECT_EQ(TokenOn("f3"), knight);
  EXPECT_TRUE(EngineReceived("g1f3\n"));

  app.device->getTimer()->start();
  ASSERT_TRUE(FramesUntil([] { return !app.map.IsAnimating(); }));
  for (const char *square : {"e4", "e5", "f3"}) {
    const BoardSquare s = Square(square);
    EXPECT_EQ(app.map.GetToken(TokenOn(square))->GetWorldPosition(), app.map.GetSquareWorldPosition(s.X, s.Y))
        << square;
  }
}

// The human's pawn promotes on a8; the engine answers by taking on h1 with an
// under-promotion to a knight. 1.a4 h5 2.a5 h4 3.a6 h3 4.axb7 hxg2 5.bxa8 gxh1.
namespace {

struct PromotionCase {
  const char *name;
  irr::s32 kind;
  const char *letter;
  // How the piece is chosen: by its button, or with arrow presses then Enter.
  int rightPresses; // -1: click the button
};

class HumanPromotion : public GameFixture, public testing::WithParamInterface<PromotionCase> {
protected:
  void Key(irr::EKEY_CODE key) {
    irr::SEvent event{};
    event.EventType = irr::EET_KEY_INPUT_EVENT;
    event.KeyInput.Key = key;
    event.KeyInput.PressedDown = true;
    app.eventReceiver.OnEvent(event);
  }
  void Button(irr::s32 id) {
    irr::gui::IGUIElement *button = app.guiEnvironment->getRootGUIElement()->getElementFromId(id, true);
    ASSERT_NE(button, nullptr);
    irr::SEvent event{};
    event.EventType = irr::EET_GUI_EVENT;
    event.GUIEvent.Caller = button;
    event.GUIEvent.EventType = irr::gui::EGET_BUTTON_CLICKED;
    EXPECT_TRUE(app.eventReceiver.OnEvent(event));
  }
};

} // namespace

TEST_P(HumanPromotion, TheChosenPieceIsPlayedAndTheEnginesUnderPromotionToo) {
  const PromotionCase &c = GetParam();
  StartProgram("bestmove h7h5 h5h4 h4h3 h3g2 g2h1n\n");
  StartGame(White);
  const char *moves[][2] = {{"a2", "a4"}, {"a4", "a5"}, {"a5", "a6"}, {"a6", "b7"}};
  for (auto &move : moves) {
    ASSERT_TRUE(FramesUntil([] { return app.game.GetActivePlayer() == White; }));
    ClickSquare(move[0]);
    ClickSquare(move[1]);
    ASSERT_EQ(app.game.GetActivePlayer(), Black) << move[0] << move[1];
  }
  ASSERT_TRUE(FramesUntil([] { return app.game.GetActivePlayer() == White; }));
  const irr::s32 pawn = TokenOn("b7");
  ClickSquare("b7");
  ClickSquare("a8");
  // Nothing is played until the piece is chosen; the window offers the queen.
  ASSERT_TRUE(app.game.Input().IsPromotionPending());
  ASSERT_TRUE(app.gui.GetPromotionWindow().IsOpen());
  EXPECT_EQ(app.gui.GetPromotionWindow().GetChoice(), Queen);
  EXPECT_EQ(TokenOn("b7"), pawn);
  ClickSquare("c7"); // a board click meanwhile changes nothing
  EXPECT_EQ(TokenOn("b7"), pawn);

  if (c.rightPresses < 0) {
    Button(ID_PROMOTE_QUEEN + (c.kind == Rook ? 1 : c.kind == Bishop ? 2 : c.kind == Knight ? 3 : 0));
  } else {
    for (int i = 0; i < c.rightPresses; ++i)
      Key(irr::KEY_RIGHT);
    Key(irr::KEY_RETURN);
  }
  EXPECT_FALSE(app.gui.GetPromotionWindow().IsOpen());
  EXPECT_EQ(TokenOn("a8"), pawn);
  EXPECT_EQ(app.map.GetToken(pawn)->GetType(), c.kind);
  EXPECT_TRUE(EngineReceived(std::string("b7a8") + c.letter + "\n"));

  // The engine's reply "g2h1n" is played as a knight and handed back as such.
  ASSERT_TRUE(FramesUntil([] { return app.game.GetActivePlayer() == White; }));
  const irr::s32 blackKnight = TokenOn("h1");
  ASSERT_NE(blackKnight, -1);
  EXPECT_EQ(app.map.GetToken(blackKnight)->GetType(), Knight);
  EXPECT_EQ(app.map.GetToken(blackKnight)->GetColor(), Black);
  EXPECT_EQ(app.map.GetToken(blackKnight)->GetMeshNode()->getMesh(), app.sceneManager->getMesh("./media/knight.x"));
  EXPECT_TRUE(EngineReceived("g2h1n\n"));

  // A new game turns both back into pawns.
  StartGame(White);
  EXPECT_EQ(app.map.GetToken(pawn)->GetType(), Pawn);
  EXPECT_EQ(app.map.GetToken(blackKnight)->GetType(), Pawn);
  EXPECT_EQ(app.map.GetToken(blackKnight)->GetMeshNode()->getMesh(), app.sceneManager->getMesh("./media/pawn.x"));
}

INSTANTIATE_TEST_SUITE_P(EachPiece, HumanPromotion,
                         testing::Values(PromotionCase{"QueenByEnter", Queen, "q", 0},
                                         PromotionCase{"RookByButton", Rook, "r", -1},
                                         PromotionCase{"BishopByArrows", Bishop, "b", 2},
                                         PromotionCase{"KnightByButton", Knight, "n", -1}),
                         [](const testing::TestParamInfo<PromotionCase> &info) { return info.param.name; });

// The engine's move is on the board and the human is to move in it; only
// the engine's answer to the hand-back is still outstanding. A move clicked
// then is played as soon as that answer is in, never lost.
TEST_F(SideView, AMoveClickedBeforeTheEnginesTurnHasEndedIsPlayedWhenItEnds) {
  StartProgram("bestmove e7e5\nreply echo {sleep 700}bestmove 0000\\n\n");
  StartGame(White);
  app.cameraRig.SetWhiteView(false);
  ClickSquare("e2");
  ClickSquare("e4");
  ASSERT_TRUE(FramesUntil([] { return app.game.IsAwaitingEcho(); }));
  ASSERT_NE(TokenOn("e5"), -1) << "the engine's move is on the board";

  const irr::s32 knight = TokenOn("g1");
  ClickSquare("g1");
  ClickSquare("f3");
  ClickSquare("b1"); // a third click is one too many and is dropped
  ASSERT_TRUE(app.game.IsAwaitingEcho()) << "the test's clicks came too late";
  EXPECT_EQ(TokenOn("f3"), -1) << "nothing is played before the turn has passed";

  ASSERT_TRUE(FramesUntil([] { return !app.game.IsAwaitingEcho(); }));
  EXPECT_EQ(TokenOn("f3"), knight);
  EXPECT_EQ(app.map.GetSelectedToken(), knight) << "lit as after any move; the dropped click selected nothing";
  EXPECT_TRUE(EngineReceived("g1f3\n"));
  EXPECT_EQ(MovesSent(), "e2e4\ne7e5\ng1f3\n");
  EXPECT_EQ(app.game.GetActivePlayer(), Black);
}
