// The board's reflections: the mirrored camera, the overlay's texture
// coordinates against where the main camera draws the board, the overlay
// kept out of picking, the mirrored pieces following the board, and the
// timing that decides whether a machine affords them.
#include "app/CApplication.h"
#include "chess/Position.h"
#include "scene/CBoardReflection.h"
#include "scene/CGameToken.h"
#include "tests/support/NullDevice.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using irr::core::vector3df;

namespace {

// Camera placements around the board: the rig's side view, nearly straight
// down, low over White's side, over a corner, and near with the target off
// the centre (the orbit pans).
struct Placement {
  const char *name;
  vector3df position, target;
};
const Placement PLACEMENTS[] = {
    {"white side", {35, 65, -75}, {0, 0, 0}},   {"black top", {0, 100, 1}, {0, 0, 0}},
    {"low", {10, 25, -80}, {0, 0, 0}},          {"corner", {-60, 45, 60}, {0, 0, 0}},
    {"near, panned", {20, 40, -45}, {5, 2, 8}},
};

// Normalised device coordinates of a point through a view-projection.
irr::core::vector2df Ndc(const irr::core::matrix4 &transform, const vector3df &p) {
  irr::f32 v[4] = {p.X, p.Y, p.Z, 1.f};
  transform.multiplyWith1x4Matrix(v);
  return irr::core::vector2df(v[0] / v[3], v[1] / v[3]);
}

irr::core::matrix4 ViewProjection(const CBoardReflection::View &view, const irr::core::matrix4 &projection) {
  irr::core::matrix4 look;
  look.buildCameraLookAtMatrixLH(view.position, view.target, view.up);
  return projection * look;
}

class Reflection : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(testing_support::CreateNullDevice());
    ASSERT_TRUE(app.cameraRig.Init());
    ASSERT_TRUE(app.map.Init());
  }

  static void Place(const Placement &p) {
    irr::scene::ICameraSceneNode *camera = app.cameraRig.GetCamera();
    camera->setTarget(p.target);
    camera->setPosition(p.position);
    camera->updateAbsolutePosition();
  }

  // Draws a frame, so that the camera's own matrices follow its placement.
  static void DrawFrame() {
    app.device->run();
    app.driver->beginScene(true, true, irr::video::SColor(0, 0, 0, 0));
    app.sceneManager->drawAll();
    app.driver->endScene();
  }
};

} // namespace

// The mirror camera sees the world as the main camera sees its mirror image
// in the board's plane, flipped left to right: a point X shows through the
// mirror camera where its reflection shows through the main one, x negated.
TEST_F(Reflection, TheMirroredCameraSeesTheMirroredWorldFlipped) {
  const irr::core::matrix4 projection = app.cameraRig.GetCamera()->getProjectionMatrix();
  const vector3df points[] = {{0, 10, 0}, {-35, 18, -35}, {35, 4, 35}, {-20, 12, 30}, {15, 0.5f, -25}};
  for (const Placement &p : PLACEMENTS) {
    SCOPED_TRACE(p.name);
    const CBoardReflection::View main{p.position, p.target, vector3df(0, 1, 0)};
    const CBoardReflection::View mirror = CBoardReflection::Mirror(main);
    EXPECT_EQ(mirror.position, vector3df(p.position.X, -p.position.Y, p.position.Z));
    EXPECT_EQ(mirror.target, vector3df(p.target.X, -p.target.Y, p.target.Z));
    const irr::core::matrix4 mainTransform = ViewProjection(main, projection);
    const irr::core::matrix4 mirrorTransform = ViewProjection(mirror, projection);
    for (const vector3df &x : points) {
      const irr::core::vector2df throughMirror = Ndc(mirrorTransform, x);
      const irr::core::vector2df reflectionThroughMain = Ndc(mainTransform, vector3df(x.X, -x.Y, x.Z));
      EXPECT_NEAR(throughMirror.X, -reflectionThroughMain.X, 1e-4f);
      EXPECT_NEAR(throughMirror.Y, reflectionThroughMain.Y, 1e-4f);
    }
  }
}

// Each vertex of the overlay looks up the texel the main camera draws it at
// (the texture flipped left to right): the board's corners and centre land
// within a pixel of where the scene's own projection puts them. A new camera
// placement or window size gives new coordinates.
TEST_F(Reflection, TheOverlaysTextureCoordinatesAreWhereTheMainCameraDrawsTheBoard) {
  CBoardReflection &reflection = app.reflection;
  irr::scene::IMeshBuffer *buffer = reflection.GetOverlay()->getMesh()->getMeshBuffer(0);
  const auto *vertices = static_cast<const irr::video::S3DVertex *>(buffer->getVertices());
  const irr::u32 side = CBoardReflection::GRID + 1;
  ASSERT_EQ(buffer->getVertexCount(), side * side);
  const irr::u32 corners[] = {0, side - 1, side * (side - 1), side * side - 1, side * side / 2};
  irr::scene::ICameraSceneNode *camera = app.cameraRig.GetCamera();
  irr::scene::ISceneCollisionManager *collision = app.sceneManager->getSceneCollisionManager();
  for (const irr::core::dimension2du screen : {irr::core::dimension2du(1024, 768), irr::core::dimension2du(1600, 1000)})
    for (const Placement &p : PLACEMENTS) {
      SCOPED_TRACE(std::string(p.name) + " at " + std::to_string(screen.Width));
      app.driver->OnResize(screen);
      camera->setAspectRatio(irr::f32(screen.Width) / irr::f32(screen.Height));
      Place(p);
      DrawFrame();
      const irr::core::vector2df before = vertices[0].TCoords;
      reflection.UpdateOverlay(camera, screen);
      EXPECT_NE(vertices[0].TCoords, before) << "not recomputed";
      for (irr::u32 i : corners) {
        const vector3df onBoard(vertices[i].Pos.X, CBoardReflection::PLANE_Y, vertices[i].Pos.Z);
        const irr::core::position2di drawn = collision->getScreenCoordinatesFrom3DPosition(onBoard, camera);
        const irr::core::vector2df uv = vertices[i].TCoords;
        EXPECT_NEAR((1.f - uv.X) * irr::f32(screen.Width), irr::f32(drawn.X), 1.5f) << "vertex " << i;
        EXPECT_NEAR(uv.Y * irr::f32(screen.Height), irr::f32(drawn.Y), 1.5f) << "vertex " << i;
      }
    }
  // The overlay covers exactly the 8 x 8 squares.
  EXPECT_EQ(vertices[0].Pos.X, -40.f);
  EXPECT_EQ(vertices[side * side - 1].Pos.Z, 40.f);
}

// The overlay, shown, never takes a click: from the top every square's centre
// still picks the square, or the piece standing on it.
TEST_F(Reflection, TheOverlayIsNeverPicked) {
  irr::scene::IMeshSceneNode *overlay = app.reflection.GetOverlay();
  ASSERT_NE(overlay, nullptr);
  EXPECT_EQ(overlay->getID(), ID_NODE_NONE);
  overlay->setVisible(true);
  chess::Position position;
  std::string error;
  ASSERT_TRUE(position.SetFen("r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP1B1PPP/R2QKB1R w KQ - 0 8", error)) << error;
  app.map.SetUpPosition(position);
  for (bool top : {true, false}) {
    app.cameraRig.SetWhiteView(top);
    DrawFrame();
    ASSERT_TRUE(overlay->isVisible());
    for (irr::s32 x = 0; x < 8; ++x)
      for (irr::s32 y = 0; y < 8; ++y) {
        const irr::core::position2di pixel =
            app.sceneManager->getSceneCollisionManager()->getScreenCoordinatesFrom3DPosition(
                app.map.GetSquareWorldPosition(x, y), app.cameraRig.GetCamera());
        app.device->getCursorControl()->setPosition(pixel);
        irr::s32 token = -1;
        BoardSquare square;
        ASSERT_TRUE(app.map.PickDrawn(token, square)) << x << "," << y;
        if (top) { // straight down nothing else stands in front of a square's centre
          EXPECT_EQ(square, BoardSquare(x, y));
          irr::s32 standing = -1;
          EXPECT_EQ(token, app.map.FindTokenAt(BoardSquare(x, y), standing) ? standing : -1);
        }
      }
  }
}

// The stage's pieces follow the board: where each piece in play stands, with
// its texture and a mesh of its kind (a promoted pawn's new one) that has the
// piece's size in under half its vertices; none for a captured piece.
TEST_F(Reflection, TheMirroredPiecesAreThePiecesInPlay) {
  chess::Position position;
  std::string error;
  // A third white knight (a promoted pawn: a pawn's token with the knight's
  // mesh); pieces are missing on both sides.
  ASSERT_TRUE(position.SetFen("r3Nk2/pp4pp/8/8/8/8/PP4PP/RN2K1NR b KQ - 0 20", error)) << error;
  app.map.SetUpPosition(position);
  app.reflection.FollowPieces();
  const std::vector<irr::scene::IAnimatedMeshSceneNode *> &mirrored = app.reflection.GetMirroredPieces();
  ASSERT_EQ(mirrored.size(), size_t(CMap::TOKEN_COUNT));
  const auto vertexCount = [](const irr::scene::IMesh *mesh) {
    irr::u32 count = 0;
    for (irr::u32 b = 0; b < mesh->getMeshBufferCount(); ++b)
      count += mesh->getMeshBuffer(b)->getVertexCount();
    return count;
  };
  int inPlay = 0;
  for (irr::s32 i = 0; i < CMap::TOKEN_COUNT; ++i) {
    const CGameToken *token = app.map.GetToken(i);
    SCOPED_TRACE("token " + std::to_string(i));
    if (token->IsCaptured()) {
      EXPECT_TRUE(!mirrored[i] || !mirrored[i]->isVisible()) << "a captured piece has no mirror image";
      continue;
    }
    ++inPlay;
    ASSERT_NE(mirrored[i], nullptr);
    EXPECT_TRUE(mirrored[i]->isVisible());
    const irr::scene::IMesh *image = mirrored[i]->getMesh()->getMesh(0);
    const irr::scene::IMesh *piece = token->GetMeshNode()->getMesh()->getMesh(0);
    const irr::core::vector3df a = image->getBoundingBox().getExtent(), b = piece->getBoundingBox().getExtent();
    for (const auto &[imageSize, pieceSize] : {std::pair(a.X, b.X), std::pair(a.Y, b.Y), std::pair(a.Z, b.Z)})
      EXPECT_NEAR(imageSize, pieceSize, 0.05f * pieceSize) << "the piece's size";
    EXPECT_LT(vertexCount(image), vertexCount(piece) / 2);
    EXPECT_EQ(mirrored[i]->getPosition(), token->GetMeshNode()->getAbsolutePosition());
    EXPECT_EQ(mirrored[i]->getRotation(), token->GetMeshNode()->getRotation());
    EXPECT_EQ(mirrored[i]->getMaterial(0).getTexture(0), token->GetMeshNode()->getMaterial(0).getTexture(0));
  }
  EXPECT_EQ(inPlay, 16);

  // A piece leaving the board takes its image along.
  irr::s32 e8 = -1;
  ASSERT_TRUE(app.map.FindTokenAt(BoardSquare(4, 7), e8));
  app.map.GetToken(e8)->SetCaptured(true);
  app.reflection.FollowPieces();
  EXPECT_FALSE(mirrored[e8]->isVisible());
}

// The mirror texture: half the window, each side rounded up to a power of
// two, at most 1024.
TEST(ReflectionTarget, IsHalfTheWindowInPowersOfTwo) {
  struct Case {
    irr::u32 width, height, expectedWidth, expectedHeight;
  } cases[] = {{1024, 768, 512, 512},
               {1600, 1000, 1024, 512},
               {800, 600, 512, 512},
               {3840, 2160, 1024, 1024},
               {1280, 1024, 1024, 512}};
  for (const Case &c : cases)
    EXPECT_EQ(CBoardReflection::TargetSize(irr::core::dimension2du(c.width, c.height)),
              irr::core::dimension2du(c.expectedWidth, c.expectedHeight))
        << c.width << " x " << c.height;
}

// The timing: the first frames are left out, then the median of 120 frame
// times decides: a few slow frames do not turn the reflections off, a slow
// majority does.
TEST(ReflectionProbe, TheMedianFrameTimeDecides) {
  using Probe = CBoardReflection::FrameTimeProbe;
  struct Case {
    const char *name;
    int slowFrames; // of the samples, this many take slowMs, the rest 8 ms
    double slowMs;
    bool tooSlow;
  } cases[] = {
      {"all fast", 0, 0, false},
      {"a few slow frames", 40, 50, false},
      {"just under half slow", Probe::SAMPLES / 2 - 1, 30, false},
      {"a slow majority", Probe::SAMPLES / 2 + 1, 30, true},
      {"all a little too slow", Probe::SAMPLES, 17.5, true},
      {"all just in time", Probe::SAMPLES, 16.5, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    Probe probe;
    for (int i = 0; i < Probe::SETTLE; ++i) // start-up frames: slow, and not counted
      EXPECT_FALSE(probe.Add(500));
    int finished = 0;
    for (int i = 0; i < Probe::SAMPLES; ++i) {
      EXPECT_FALSE(probe.IsDone());
      finished += probe.Add(i < c.slowFrames ? c.slowMs : 8.0);
    }
    EXPECT_EQ(finished, 1) << "the last sample, once";
    EXPECT_TRUE(probe.IsDone());
    EXPECT_FALSE(probe.Add(1000)) << "nothing after the decision";
    EXPECT_EQ(probe.TooSlow(), c.tooSlow) << probe.MedianMs();
  }
}
