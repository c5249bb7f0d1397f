// The rules as the player sees them: picking by mouse ray, selection lights,
// the check marker, the promoted queen's mesh and the label strips.
#include "scene/CGameField.h"
#include "scene/CGameLabel.h"
#include "tests/unit/scene/SceneTestSupport.h"

#include <sstream>

using namespace scene_testing;
using irr::core::vector3df;

namespace {

class SceneRulesTest : public BoardSceneFixture {
protected:
  static vector3df SquareAt(const char *square) {
    const BoardSquare s = Sq(square);
    return app.map.GetSquareWorldPosition(s.X, s.Y);
  }

  static std::vector<std::string> LitSquares() {
    std::vector<std::string> lit;
    for (irr::s32 x = 0; x < 8; ++x)
      for (irr::s32 y = 0; y < 8; ++y)
        if (app.map.GetField(x, y)->IsHighlighted())
          lit.push_back(Name(BoardSquare(x, y)));
    return lit;
  }

  static bool MarkerShown(irr::s32 token) {
    irr::scene::ISceneNode *marker = app.map.GetToken(token)->GetMarkerNode();
    return marker && marker->isVisible();
  }
};

// Camera behind White, high: the square's corner nearest the camera is seen
// beside the piece standing on it, the piece's upper half above the square.
const vector3df PIECE_TOP(0, 6, 0);
const vector3df NEAR_CORNER(4, 0, -4);

} // namespace

TEST_F(SceneRulesTest, PickingFindsTokensByMeshOrSquareAndSquaresUnderPieces) {
  Load("k7/8/8/5p2/4P3/8/8/7K w - - 0 1");
  const irr::s32 own = TokenOn(app.map, "e4"), opposing = TokenOn(app.map, "f5");
  struct Case {
    const char *rule, *square;
    vector3df offset;
    bool picked;
    irr::s32 index; // -7: the index must stay untouched
  } cases[] = {
      {"own token by its mesh", "e4", PIECE_TOP, true, own},
      {"own token by its square", "e4", NEAR_CORNER, true, own},
      {"opposing token by its mesh", "f5", PIECE_TOP, false, opposing},
      {"opposing token by its square", "f5", NEAR_CORNER, false, opposing},
      {"empty square", "c3", vector3df(0, 0, 0), false, -7},
  };
  for (const Case &c : cases) {
    PointAt(SquareAt(c.square) + c.offset);
    irr::s32 index = -7;
    EXPECT_EQ(app.map.PickToken(index), c.picked) << c.rule;
    EXPECT_EQ(index, c.index) << c.rule;
    // Square picking looks through pieces: aimed at the board, it names the
    // square aimed at (also under a piece's corner).
    BoardSquare square;
    if (c.offset.Y == 0) {
      EXPECT_TRUE(app.map.PickSquare(square)) << c.rule;
      EXPECT_EQ(Name(square), c.square) << c.rule;
    }
  }
}

TEST_F(SceneRulesTest, CapturedTokensAndTheSkyAreNeverPicked) {
  Load("k7/8/8/5p2/4P3/8/8/7K w - - 0 1");
  app.map.GetToken(TokenOn(app.map, "e4"))->Capture();
  PointAt(SquareAt("e4") + PIECE_TOP);
  irr::s32 index = -7;
  EXPECT_FALSE(app.map.PickToken(index));
  EXPECT_EQ(index, -7);

  app.device->getCursorControl()->setPosition(irr::core::position2di(512, 2));
  BoardSquare square(9, 9);
  EXPECT_FALSE(app.map.PickToken(index));
  EXPECT_FALSE(app.map.PickSquare(square));
  EXPECT_EQ(index, -7);
}

TEST_F(SceneRulesTest, SelectionLightsTokenSquareAndTargetsAndReplacesTheLastOne) {
  EXPECT_EQ(app.map.GetSelectedTokenPosition(), vector3df(0, 0, 0));
  const irr::s32 g1 = TokenOn(app.map, "g1"), b1 = TokenOn(app.map, "b1");
  app.map.SelectToken(g1, {Sq("f3"), Sq("h3")});
  EXPECT_EQ(LitSquares(), (std::vector<std::string>{"f3", "g1", "h3"}));
  app.map.SelectToken(b1, {Sq("a3"), Sq("c3")});
  EXPECT_EQ(LitSquares(), (std::vector<std::string>{"a3", "b1", "c3"}));
  EXPECT_EQ(app.map.GetToken(g1)->GetMeshNode()->getMaterial(0).getTexture(0),
            app.driver->getTexture("./media/whitetoken.bmp"));
  EXPECT_EQ(app.map.GetToken(b1)->GetMeshNode()->getMaterial(0).getTexture(0),
            app.driver->getTexture("./media/whitetoken_hi.bmp"));
  EXPECT_EQ(app.map.GetSelectedTokenPosition(), SquareAt("b1"));
  app.map.ClearSelection();
  EXPECT_TRUE(LitSquares().empty());
}

TEST_F(SceneRulesTest, CheckMarkerStandsOverExactlyTheCheckedKing) {
  Load("4k3/8/8/8/8/8/8/R3K3 w - - 0 1");
  const irr::s32 whiteKing = TokenOn(app.map, "e1"), blackKing = TokenOn(app.map, "e8");
  ASSERT_TRUE(Play("a1", "a8"));
  EXPECT_TRUE(MarkerShown(blackKing));
  EXPECT_FALSE(MarkerShown(whiteKing));
  ASSERT_TRUE(Play("e8", "e7"));
  EXPECT_FALSE(MarkerShown(blackKing));
  EXPECT_FALSE(MarkerShown(whiteKing));
}

TEST_F(SceneRulesTest, PromotionShowsAQueenAndANewGameThePawnAgain) {
  Load("4k3/P7/8/8/8/8/8/4K3 w - - 0 1");
  const irr::s32 pawn = TokenOn(app.map, "a7");
  const size_t nodes = app.sceneManager->getRootSceneNode()->getChildren().size();
  ASSERT_TRUE(Play("a7", "a8"));
  EXPECT_EQ(Game().GetMove(0).promotion, Queen);
  CGameToken &token = *app.map.GetToken(pawn);
  ASSERT_NE(token.GetMeshNode(), nullptr);
  EXPECT_EQ(token.GetMeshNode()->getMesh(), app.sceneManager->getMesh("./media/queen.x"));
  EXPECT_EQ(token.GetWorldPosition(), SquareAt("a7")) << "the new queen sets off from the pawn's square";
  ASSERT_TRUE(FinishAnimations());
  EXPECT_EQ(token.GetWorldPosition(), SquareAt("a8"));
  EXPECT_EQ(app.sceneManager->getRootSceneNode()->getChildren().size(), nodes); // the pawn's node is gone

  app.map.Reset();
  ASSERT_NE(token.GetMeshNode(), nullptr);
  EXPECT_EQ(token.GetType(), Pawn);
  EXPECT_EQ(token.GetMeshNode()->getMesh(), app.sceneManager->getMesh("./media/pawn.x"));
  EXPECT_EQ(token.GetWorldPosition(), app.map.GetSquareWorldPosition(token.GetHomeSquare().X, token.GetHomeSquare().Y));
  EXPECT_EQ(app.sceneManager->getRootSceneNode()->getChildren().size(), nodes);
}

TEST_F(SceneRulesTest, LabelsOfTheSideToMoveLightUp) {
  struct Case {
    bool on;
    irr::s32 color;
    bool lit[4];
  } cases[] = {
      {true, White, {true, false, true, false}},
      {true, Black, {false, true, false, true}},
      {false, Black, {false, false, false, false}},
  };
  for (const Case &c : cases) {
    app.map.ShowLabels(c.on, c.color);
    for (irr::s32 i = 0; i < 4; ++i)
      EXPECT_EQ(app.map.GetLabel(i)->IsHighlighted(), c.lit[i]) << "label " << i << " colour " << c.color;
  }
}

// The board follows the core move by move and a take back puts the very
// same tokens back: the taken piece, the castling rook, the promoted pawn.
TEST_F(SceneRulesTest, TakeBackPutsTheSameTokensBackAfterEveryKindOfMove) {
  struct Case {
    const char *rule, *fen, *line;
  } cases[] = {
      {"captures and en passant", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
       "e2e4 d7d5 e4d5 d8d5 e1e2 c7c5 a2a3 c5c4 d2d4 c4d3"},
      {"castling both ways", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "e1g1 e8c8 f1f8 d8f8"},
      {"promotion with capture", "1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7b8 e8d7 b8b1"},
  };
  for (const Case &c : cases) {
    Load(c.fen);
    std::vector<std::string> steps{DescribeBoard(app.map)};
    std::istringstream line(c.line);
    for (std::string move; line >> move;) {
      ASSERT_TRUE(Play(move.substr(0, 2).c_str(), move.substr(2, 2).c_str())) << c.rule << " " << move;
      app.map.ClearSelection();
      steps.push_back(DescribeBoard(app.map));
    }
    for (size_t n = steps.size() - 1; n > 0; --n) {
      ASSERT_TRUE(Undo()) << c.rule;
      EXPECT_EQ(DescribeBoard(app.map), steps[n - 1]) << c.rule << " back to ply " << n - 1;
    }
    EXPECT_FALSE(app.map.TakeBackMove(Game().GetPosition())) << c.rule << ": nothing left to take back";
  }
}

// The tokens are placed from the core: every piece of the position stands
// where the core has it, with its kind and colour, whatever the move order.
TEST_F(SceneRulesTest, TokensStandWhereTheCoreHasThePieces) {
  Load("4k3/P6P/8/8/8/8/8/4K3 w - - 0 1");
  ASSERT_TRUE(PlayLine("a7a8 e8d7 h7h8 d7e6 a8a4"));
  const chess::Position &position = Game().GetPosition();
  int onBoard = 0;
  for (int sq = 0; sq < 64; ++sq) {
    const BoardSquare square = BoardSquare::FromIndex(sq);
    int type, color;
    const irr::s32 token = TokenOn(app.map, Name(square).c_str());
    if (!position.PieceAt(square, type, color)) {
      EXPECT_EQ(token, -1) << Name(square);
      continue;
    }
    ++onBoard;
    ASSERT_GE(token, 0) << Name(square);
    EXPECT_EQ(app.map.GetToken(token)->GetType(), type) << Name(square);
    EXPECT_EQ(app.map.GetToken(token)->GetColor(), color) << Name(square);
  }
  EXPECT_EQ(onBoard, 4);
}
