// Playing from the default side view: clicks land on what is drawn.
#include "tests/unit/game/GameFixture.h"

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

  // The top of the black pawn, as drawn.
  Frames(1);
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
