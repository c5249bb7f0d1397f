// A move as it is seen: the rule state changes at once, the pieces travel.
// The journeys are read at chosen times by driving each node's animator.
#include "scene/CCaptureTray.h"
#include "scene/CGameField.h"
#include "scene/CMoveAnimator.h"
#include "tests/unit/scene/SceneTestSupport.h"

using irr::core::vector3df;
using namespace scene_testing;

namespace {

vector3df SquareAt(const char *name) {
  const BoardSquare s = Sq(name);
  return app.map.GetSquareWorldPosition(s.X, s.Y);
}

irr::scene::ISceneNode *NodeOf(irr::s32 token) { return app.map.GetToken(token)->GetMeshNode(); }

irr::u32 StartOf(irr::s32 token) {
  CMoveAnimator *move = CMoveAnimator::Of(NodeOf(token));
  return move ? move->GetPath().startMs : 0;
}

// Where the node stands (and whether it is seen) at a device time.
vector3df AtTime(irr::s32 token, irr::u32 time, bool *visible = nullptr) {
  irr::scene::ISceneNode *node = NodeOf(token);
  CMoveAnimator *move = CMoveAnimator::Of(node);
  EXPECT_NE(move, nullptr) << "token " << token << " is not travelling";
  if (!move)
    return node->getPosition();
  move->animateNode(node, time);
  if (visible)
    *visible = node->isVisible();
  return node->getPosition();
}

// The same, ms after the node's journey was to begin.
vector3df At(irr::s32 token, irr::u32 ms, bool *visible = nullptr) {
  return AtTime(token, StartOf(token) + ms, visible);
}

void ExpectNear(const vector3df &a, const vector3df &b, const char *what) {
  EXPECT_TRUE(a.equals(b, 0.01f)) << what << ": (" << a.X << ", " << a.Y << ", " << a.Z << ") vs (" << b.X << ", "
                                  << b.Y << ", " << b.Z << ")";
}

using MoveAnimation = BoardSceneFixture;

} // namespace

TEST(MoveAnimatorPath, StartsEasesAndLandsWithTheArcOnlyInBetween) {
  CMoveAnimator::Path path;
  path.from = vector3df(0, 0, 0);
  path.to = vector3df(20, 0, 10);
  path.startMs = 1000;
  path.arc = 8;
  struct {
    irr::u32 time;
    vector3df expected;
  } cases[] = {
      {0, {0, 0, 0}},                                  // before the start (and across the counter's wrap)
      {1000, {0, 0, 0}},                               // the start
      {1000 + CMoveAnimator::MOVE_MS / 2, {10, 8, 5}}, // halfway, at the top of the arc
      {1000 + CMoveAnimator::MOVE_MS, {20, 0, 10}},    // the landing
      {5000, {20, 0, 10}},                             // long after
  };
  for (const auto &c : cases)
    ExpectNear(CMoveAnimator::PositionAt(path, c.time), c.expected, std::to_string(c.time).c_str());
  // Eased: a quarter of the time covers less than a quarter of the way.
  path.arc = 0;
  EXPECT_LT(CMoveAnimator::PositionAt(path, 1000 + CMoveAnimator::MOVE_MS / 4).X, 5.f);
  EXPECT_GT(CMoveAnimator::PositionAt(path, 1000 + 3 * CMoveAnimator::MOVE_MS / 4).X, 15.f);
}

TEST_F(MoveAnimation, TheRulesAreFinalAtOnceWhileThePieceGlides) {
  const irr::s32 pawn = TokenOn(app.map, "e2");
  ASSERT_TRUE(Play("e2", "e4"));
  EXPECT_EQ(TokenOn(app.map, "e4"), pawn);
  EXPECT_EQ(TokenOn(app.map, "e2"), -1);
  EXPECT_TRUE(app.map.IsAnimating());
  ExpectNear(At(pawn, 0), SquareAt("e2"), "start");
  const vector3df middle = At(pawn, CMoveAnimator::MOVE_MS / 2);
  ExpectNear(middle, (SquareAt("e2") + SquareAt("e4")) * 0.5f, "middle"); // no arc for a pawn
  ExpectNear(At(pawn, CMoveAnimator::MOVE_MS), SquareAt("e4"), "end");
  EXPECT_FALSE(app.map.IsAnimating());
}

TEST_F(MoveAnimation, AKnightJumpsInAnArc) {
  const irr::s32 knight = TokenOn(app.map, "g1");
  ASSERT_TRUE(Play("g1", "f3"));
  EXPECT_GT(At(knight, CMoveAnimator::MOVE_MS / 2).Y, SquareAt("f3").Y + CMoveAnimator::KNIGHT_ARC / 2);
  ExpectNear(At(knight, CMoveAnimator::MOVE_MS), SquareAt("f3"), "end");
}

TEST_F(MoveAnimation, TheCastlingRookSetsOffWhenTheKingHasArrived) {
  Load("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
  const irr::s32 king = TokenOn(app.map, "e1"), rook = TokenOn(app.map, "h1"), other = TokenOn(app.map, "a1");
  ASSERT_TRUE(Play("e1", "g1"));
  const irr::u32 moveStart = StartOf(king);
  ExpectNear(At(king, CMoveAnimator::MOVE_MS), SquareAt("g1"), "king landed");
  ExpectNear(AtTime(rook, moveStart + CMoveAnimator::MOVE_MS - 1), SquareAt("h1"), "rook still waits");
  ExpectNear(AtTime(rook, moveStart + 3 * CMoveAnimator::MOVE_MS / 2), (SquareAt("h1") + SquareAt("f1")) * 0.5f,
             "rook halfway");
  ExpectNear(AtTime(rook, moveStart + 2 * CMoveAnimator::MOVE_MS), SquareAt("f1"), "rook landed");
  EXPECT_EQ(CMoveAnimator::Of(NodeOf(other)), nullptr) << "the other rook stays put";
  EXPECT_EQ(TokenOn(app.map, "f1"), rook) << "the rules moved the rook at once";
}

TEST_F(MoveAnimation, ACapturedPieceSinksOutAndIsThenGone) {
  Load("4k3/8/8/3p4/4P3/8/8/4K3 w - - 0 1");
  const irr::s32 victim = TokenOn(app.map, "d5");
  ASSERT_TRUE(Play("e4", "d5"));
  EXPECT_TRUE(app.map.GetToken(victim)->IsCaptured());
  EXPECT_EQ(NodeOf(victim)->getID(), ID_NODE_NONE) << "a sinking piece is never picked";
  bool visible = false;
  ExpectNear(At(victim, 0, &visible), SquareAt("d5"), "start");
  EXPECT_TRUE(visible);
  const vector3df middle = At(victim, CMoveAnimator::MOVE_MS / 2, &visible);
  EXPECT_LT(middle.Y, SquareAt("d5").Y);
  EXPECT_TRUE(visible);
  At(victim, CMoveAnimator::MOVE_MS, &visible);
  EXPECT_FALSE(visible);
}

TEST_F(MoveAnimation, ANewGamePutsEveryPieceHomeAtOnce) {
  ASSERT_TRUE(PlayLine("e2e4 d7d5 e4d5"));
  app.map.Reset();
  EXPECT_FALSE(app.map.IsAnimating());
  for (irr::s32 i = 0; i < CMap::TOKEN_COUNT; ++i) {
    const BoardSquare home = app.map.GetToken(i)->GetHomeSquare();
    ExpectNear(app.map.GetToken(i)->GetWorldPosition(), app.map.GetSquareWorldPosition(home.X, home.Y), "home");
    EXPECT_TRUE(NodeOf(i)->isVisible());
  }
}

TEST_F(MoveAnimation, TheLastMoveIsTintedUntilTheNextAndANewGameClearsIt) {
  auto tinted = [] {
    std::string squares;
    for (irr::s32 x = 0; x < 8; ++x)
      for (irr::s32 y = 0; y < 8; ++y)
        if (app.map.GetField(x, y)->IsLastMoveTinted())
          squares += Name(BoardSquare(x, y)) + " ";
    return squares;
  };
  EXPECT_EQ(tinted(), "");
  ASSERT_TRUE(Play("g1", "f3"));
  EXPECT_EQ(tinted(), "f3 g1 ");
  ASSERT_TRUE(Play("e7", "e5"));
  EXPECT_EQ(tinted(), "e5 e7 ");
  // A selection lights its squares over the tint; dropping it shows the tint again.
  app.map.SelectToken(TokenOn(app.map, "f3"), {Sq("e5"), Sq("g5")});
  EXPECT_TRUE(app.map.GetField(4, 4)->IsHighlighted()); // e5, a target of the knight
  app.map.ClearSelection();
  EXPECT_EQ(tinted(), "e5 e7 ");
  app.map.Reset();
  EXPECT_EQ(tinted(), "");
  BoardSquare from, to;
  EXPECT_FALSE(app.map.GetLastMove(from, to));
}

namespace {

// The token's node once every journey has ended.
vector3df Landed(irr::s32 token, bool *visible = nullptr, irr::f32 *scale = nullptr) {
  if (CMoveAnimator::Of(NodeOf(token)))
    At(token, 10 * CMoveAnimator::MOVE_MS);
  if (visible)
    *visible = NodeOf(token)->isVisible();
  if (scale)
    *scale = NodeOf(token)->getScale().X;
  return NodeOf(token)->getPosition();
}

} // namespace

TEST_F(MoveAnimation, CapturedPiecesStandOnTheirOwnersTrayInCaptureOrder) {
  ASSERT_TRUE(app.map.InitTrays());
  // 1.e4 d5 2.exd5 Qxd5 3.Nc3 Qxa2 4.Rxa2: two white pawns, then a black queen.
  const irr::s32 d5 = TokenOn(app.map, "d7"), e4 = TokenOn(app.map, "e2"), a2 = TokenOn(app.map, "a2"),
                 queen = TokenOn(app.map, "d8");
  ASSERT_TRUE(PlayLine("e2e4 d7d5 e4d5 d8d5 b1c3 d5a2 a1a2"));
  EXPECT_EQ(app.map.GetCaptureOrder(), (std::vector<irr::s32>{d5, e4, a2, queen}));
  const struct {
    irr::s32 token;
    vector3df slot;
  } cases[] = {
      {e4, app.map.GetTray(White)->GetSlotPosition(0)},
      {a2, app.map.GetTray(White)->GetSlotPosition(1)},
      {d5, app.map.GetTray(Black)->GetSlotPosition(0)},
      {queen, app.map.GetTray(Black)->GetSlotPosition(1)},
  };
  for (const auto &c : cases) {
    bool visible = false;
    irr::f32 scale = 0;
    ExpectNear(Landed(c.token, &visible, &scale), c.slot, std::to_string(c.token).c_str());
    EXPECT_TRUE(visible) << c.token;
    EXPECT_FLOAT_EQ(scale, CCaptureTray::PIECE_SCALE) << c.token;
    EXPECT_EQ(NodeOf(c.token)->getID(), ID_NODE_NONE) << "a piece on a tray is never picked";
  }
  // The trays run along the owners' sides, White's in front of rank 1.
  EXPECT_LT(cases[0].slot.Z, SquareAt("a1").Z);
  EXPECT_GT(cases[2].slot.Z, SquareAt("a8").Z);
  EXPECT_NE(cases[0].slot, cases[1].slot);

  app.map.Reset();
  EXPECT_TRUE(app.map.GetCaptureOrder().empty());
  bool visible = false;
  irr::f32 scale = 0;
  ExpectNear(Landed(queen, &visible, &scale), SquareAt("d8"), "queen home");
  EXPECT_TRUE(visible);
  EXPECT_FLOAT_EQ(scale, 1.f);
}

TEST_F(MoveAnimation, RebuildingTheTraysFollowsTheCapturedTokens) {
  ASSERT_TRUE(app.map.InitTrays());
  const irr::s32 first = TokenOn(app.map, "e2"), second = TokenOn(app.map, "a2");
  ASSERT_TRUE(PlayLine("e2e4 d7d5 e4d5 d8d5 b1c3 d5a2"));
  // As a take back would: the last capture is undone, and another piece is
  // taken off the board without a move.
  CGameToken *undone = app.map.GetToken(second);
  undone->SetCaptured(false);
  undone->SetSquare(Sq("a2"));
  const irr::s32 extra = TokenOn(app.map, "h2");
  app.map.GetToken(extra)->SetCaptured(true);
  app.map.RebuildTrays();
  EXPECT_EQ(app.map.GetCaptureOrder().size(), 3u); // black's d-pawn, then White's two
  bool visible = false;
  ExpectNear(Landed(first, &visible), app.map.GetTray(White)->GetSlotPosition(0), "first stays first");
  ExpectNear(Landed(extra, &visible), app.map.GetTray(White)->GetSlotPosition(1), "the new one follows");
  EXPECT_TRUE(visible);
  EXPECT_EQ(app.map.GetCaptureOrder().back(), extra);
  EXPECT_TRUE(NodeOf(second)->isVisible());
  EXPECT_FLOAT_EQ(NodeOf(second)->getScale().X, 1.f) << "back on the board at full size";
  ExpectNear(NodeOf(second)->getPosition(), SquareAt("a2"), "back on a2");
}

// A position from a diagram, set up after a game with captures: the pieces
// not in play stand on their owners' trays, one place each from the first,
// and undoing a capture made there brings back that very picture.
TEST_F(MoveAnimation, APositionSetUpFromFenShowsThePiecesNotInPlayOnTheTrays) {
  ASSERT_TRUE(app.map.InitTrays());
  ASSERT_TRUE(PlayLine("e2e4 d7d5 e4d5 d8d5 b1c3 d5a2 a1a2")); // leaves a capture order behind
  Load("r6k/1P6/8/8/8/8/6PP/6K1 w - - 0 1");

  const auto expectOnTrays = [](const char *when) {
    irr::s32 next[2] = {0, 0}, offBoard = 0;
    for (irr::s32 i = 0; i < CMap::TOKEN_COUNT; ++i) {
      const CGameToken *token = app.map.GetToken(i);
      if (!token->IsCaptured())
        continue;
      ++offBoard;
      const irr::s32 color = token->GetColor();
      bool visible = false;
      irr::f32 scale = 0;
      const std::string what = std::string(when) + ", token " + std::to_string(i);
      ExpectNear(Landed(i, &visible, &scale), app.map.GetTray(color)->GetSlotPosition(next[color == White ? 0 : 1]++),
                 what.c_str());
      EXPECT_TRUE(visible) << what;
      EXPECT_FLOAT_EQ(scale, CCaptureTray::PIECE_SCALE) << what;
    }
    EXPECT_EQ(next[0], 12) << when; // White keeps its king and three pawns
    EXPECT_EQ(next[1], 14) << when; // Black its king and a rook
    EXPECT_EQ(app.map.GetCaptureOrder().size(), size_t(offBoard)) << when;
  };
  expectOnTrays("set up");

  const irr::s32 rook = TokenOn(app.map, "a8");
  ASSERT_TRUE(Play("b7", "a8", Knight));
  bool visible = false;
  ExpectNear(Landed(rook, &visible), app.map.GetTray(Black)->GetSlotPosition(14), "the rook after the others");
  ASSERT_TRUE(Undo());
  expectOnTrays("taken back");
  ExpectNear(NodeOf(rook)->getPosition(), SquareAt("a8"), "the rook back on a8");
}
