// One piece and its scene nodes: reset, textures, marker, entry animation,
// scratch tokens without a scene, who releases the nodes, and the shadow's
// low-polygon companion mesh.
#include "tests/support/LogCapture.h"
#include "tests/support/NullDevice.h"
#include "tests/unit/scene/SceneTestSupport.h"

#include <filesystem>
#include <fstream>

using namespace scene_testing;
using irr::core::vector3df;

namespace {

irr::video::ITexture *Texture(const char *path) { return app.driver->getTexture(path); }

irr::video::ITexture *TextureOn(const CGameToken &token) { return token.GetMeshNode()->getMaterial(0).getTexture(0); }

size_t SceneNodeCount() { return app.sceneManager->getRootSceneNode()->getChildren().size(); }

} // namespace

TEST(TokenTest, ResetRestoresSquareHighlightMarkerAndCapture) {
  StartBoardScene();
  CGameToken &king = *app.map.GetToken(30); // white king, home e1
  king.SetSquare(Sq("e4"));
  king.SetHighlight(true);
  king.SetMarker(true);
  king.Capture();
  king.DropIn();

  king.Reset();
  EXPECT_EQ(king.GetSquare(), Sq("e1"));
  EXPECT_EQ(king.GetWorldPosition(), app.map.GetSquareWorldPosition(4, 0));
  EXPECT_EQ(TextureOn(king), Texture("./media/whitetoken.bmp"));
  ASSERT_NE(king.GetMarkerNode(), nullptr);
  EXPECT_FALSE(king.GetMarkerNode()->isVisible());
  EXPECT_FALSE(king.IsCaptured());
  EXPECT_TRUE(king.GetMeshNode()->isVisible());
  EXPECT_TRUE(king.GetMeshNode()->getAnimators().empty());
}

TEST(TokenTest, HighlightPicksTheTextureByColourAndState) {
  StartBoardScene();
  struct Case {
    irr::s32 token;
    bool on;
    const char *texture;
  } cases[] = {
      {0, true, "./media/whitetoken_hi.bmp"},
      {0, false, "./media/whitetoken.bmp"},
      {1, true, "./media/blacktoken_hi.bmp"},
      {1, false, "./media/blacktoken.bmp"},
  };
  for (const Case &c : cases) {
    CGameToken &token = *app.map.GetToken(c.token);
    token.SetHighlight(c.on);
    ASSERT_NE(Texture(c.texture), nullptr) << c.texture;
    EXPECT_EQ(TextureOn(token), Texture(c.texture)) << c.texture;
    EXPECT_TRUE(token.GetMeshNode()->getMaterial(0).getFlag(irr::video::EMF_LIGHTING));
  }
}

TEST(TokenTest, MarkerIsMadeOnFirstUseEvenWhenHiddenAndSpinsAboveThePiece) {
  ASSERT_TRUE(testing_support::CreateNullDevice());
  WriteFixtureMedia();
  CGameToken token;
  ASSERT_TRUE(token.Create(Black, Rook, "./media/rook.x", "./media/blacktoken.bmp"));
  EXPECT_EQ(token.GetMarkerNode(), nullptr);
  token.SetMarker(false);
  irr::scene::IAnimatedMeshSceneNode *marker = token.GetMarkerNode();
  ASSERT_NE(marker, nullptr);
  EXPECT_FALSE(marker->isVisible());
  EXPECT_EQ(marker->getParent(), token.GetMeshNode());
  EXPECT_EQ(marker->getPosition(), vector3df(0, 16, 0));
  EXPECT_EQ(marker->getAnimators().size(), 1u);
  token.SetMarker(true);
  EXPECT_EQ(token.GetMarkerNode(), marker);
  EXPECT_TRUE(marker->isVisible());
}

TEST(TokenTest, SecondDropInRestartsTheFallWithOneAnimator) {
  StartBoardScene();
  CGameToken &token = *app.map.GetToken(5);
  token.DropIn();
  token.DropIn();
  const auto &animators = token.GetMeshNode()->getAnimators();
  ASSERT_EQ(animators.size(), 1u);
  EXPECT_EQ((*animators.begin())->getType(), irr::scene::ESNAT_FLY_STRAIGHT);
}

// No device and no board fields at all: a scratch token that reached for the
// scene or the board would crash here.
TEST(TokenTest, ScratchTokensNeedNoSceneAndNoBoard) {
  CGameToken token;
  EXPECT_FALSE(token.Create(Black, Knight, "./media/knight.x", "./media/blacktoken.bmp"));
  EXPECT_EQ(token.GetColor(), Black);
  EXPECT_EQ(token.GetType(), Knight);
  token.Reset();
  token.SetColorAndType(White, Queen);
  token.SetSquare(Sq("d4"));
  token.SetCaptured(true);
  token.SetMarker(true);
  token.SetHighlight(true);
  token.DropIn();
  token.SetShadowVisible(true);
  token.SetRotationY(90);
  token.DiscardNode();
  EXPECT_EQ(token.GetSquare(), Sq("d4"));
  EXPECT_TRUE(token.IsCaptured());
  EXPECT_TRUE(token.IsOnSquare(Sq("d4")));
  EXPECT_EQ(token.GetWorldPosition(), vector3df(0, 0, 0));
  EXPECT_EQ(token.GetMarkerNode(), nullptr);
  EXPECT_FALSE(token.OwnsNode(nullptr));
}

TEST(TokenTest, ScratchTokensLeaveAnExistingSceneAlone) {
  ASSERT_TRUE(testing_support::CreateNullDevice());
  WriteFixtureMedia();
  const size_t before = SceneNodeCount();
  CGameToken token;
  token.Reset();
  token.SetMarker(false);
  token.SetSquare(Sq("h8"));
  token.DropIn();
  EXPECT_EQ(SceneNodeCount(), before);
}

// The scene owns the nodes: DiscardNode takes them out of it, destroying a
// token leaves them there, and the scene can still release them exactly once.
TEST(TokenTest, NodesAreReleasedByTheSceneOnce) {
  ASSERT_TRUE(testing_support::CreateNullDevice());
  WriteFixtureMedia();
  const size_t before = SceneNodeCount();
  CGameToken discarded;
  ASSERT_TRUE(discarded.Create(White, Pawn, "./media/pawn.x", "./media/whitetoken.bmp"));
  discarded.SetMarker(true);
  EXPECT_EQ(SceneNodeCount(), before + 1);
  discarded.DiscardNode();
  EXPECT_EQ(SceneNodeCount(), before);
  EXPECT_EQ(discarded.GetMeshNode(), nullptr);
  EXPECT_EQ(discarded.GetMarkerNode(), nullptr);

  auto *destroyed = new CGameToken;
  ASSERT_TRUE(destroyed->Create(White, Pawn, "./media/pawn.x", "./media/whitetoken.bmp"));
  destroyed->SetMarker(true);
  irr::scene::ISceneNode *node = destroyed->GetMeshNode();
  node->grab(); // watch the node's reference count
  delete destroyed;
  EXPECT_EQ(node->getReferenceCount(), 2); // ours and the scene's
  EXPECT_EQ(node->getParent(), app.sceneManager->getRootSceneNode());
  app.sceneManager->clear();
  EXPECT_EQ(node->getReferenceCount(), 1);
  node->drop();
}

TEST(TokenTest, ShadowMeshPathAddsTheSuffixBeforeTheExtension) {
  const struct {
    const char *mesh, *shadow;
  } cases[] = {
      {"./media/pawn.x", "./media/pawn_shadow.x"},
      {"./media/queen.x", "./media/queen_shadow.x"},
      {"media.d/king", "media.d/king_shadow"}, // a dot in a folder name is no extension
      {"./media/.x", "./media/.x_shadow"},     // nor is a leading dot
  };
  for (const auto &c : cases)
    EXPECT_EQ(ShadowMeshPath(c.mesh), c.shadow) << c.mesh;
}

// On the null driver there is no stencil shadow node, but the companion is
// loaded exactly when its file exists; a missing one logs nothing and a
// broken one falls back to the piece's own mesh. The piece is made each time.
TEST(TokenTest, CreateLoadsTheShadowCompanionOnlyWhenItsFileExists) {
  ASSERT_TRUE(testing_support::CreateNullDevice());
  WriteFixtureMedia();
  std::filesystem::copy_file("media/rook.x", "media/rook_shadow.x");
  std::ofstream("media/bishop_shadow.x") << "not a mesh";
  const struct {
    irr::s32 type;
    const char *mesh, *shadow;
    bool loaded;
  } cases[] = {
      {Pawn, "./media/pawn.x", "./media/pawn_shadow.x", false},
      {Rook, "./media/rook.x", "./media/rook_shadow.x", true},
      {Bishop, "./media/bishop.x", "./media/bishop_shadow.x", false},
  };
  irr::scene::IMeshCache *cache = app.sceneManager->getMeshCache();
  for (const auto &c : cases) {
    testing_support::LogCapture log(app.device);
    CGameToken token;
    EXPECT_TRUE(token.Create(White, c.type, c.mesh, "./media/whitetoken.bmp")) << c.mesh;
    EXPECT_NE(token.GetMeshNode(), nullptr) << c.mesh;
    EXPECT_EQ(cache->isMeshLoaded(c.shadow), c.loaded) << c.shadow;
    if (!c.loaded && c.type == Pawn) {
      for (const std::string &line : log.Lines())
        EXPECT_EQ(line.find("_shadow"), std::string::npos) << "a missing companion is no error: " << line;
    }
  }
}
