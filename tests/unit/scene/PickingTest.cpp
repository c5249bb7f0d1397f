// Mouse picking against what is drawn. The ground truth is a one-pixel
// depth buffer: every triangle of the fields and of the pieces in play is
// projected with the camera's own matrices, and the nearest one covering the
// pixel is what the player sees there. Picking casts a ray instead, so the two
// agree only if picking follows the drawn surfaces.
#include "app/CApplication.h"
#include "rules/CGameToken.h"
#include "rules/FenPosition.h"
#include "scene/CGameField.h"
#include "tests/support/NullDevice.h"

#include <gtest/gtest.h>

#include <iostream>
#include <string>

using irr::core::position2di;
using irr::core::vector3df;

namespace {

// What one pixel shows: a piece (token index) standing on a square, or a
// bare field (token -1); nothing at all when square is off the board.
struct Drawn {
  irr::s32 token = -1;
  BoardSquare square{-1, -1};
};

class ScreenTruth {
public:
  ScreenTruth() {
    irr::scene::ICameraSceneNode *camera = app.cameraRig.GetCamera();
    viewProjection = camera->getProjectionMatrix() * camera->getViewMatrix();
    const irr::core::dimension2du size = app.driver->getScreenSize();
    halfWidth = size.Width / 2.f;
    halfHeight = size.Height / 2.f;
  }

  Drawn At(const position2di &pixel) const {
    Drawn drawn;
    float nearest = 0; // largest 1/w so far: the smallest distance along the view
    auto consider = [&](irr::scene::IAnimatedMeshSceneNode *node, irr::s32 token, BoardSquare square) {
      if (node && node->isVisible() && Nearest(node, pixel, nearest)) {
        drawn.token = token;
        drawn.square = square;
      }
    };
    for (irr::s32 x = 0; x < 8; ++x)
      for (irr::s32 y = 0; y < 8; ++y)
        consider(app.map.GetField(x, y)->GetNode(), -1, BoardSquare(x, y));
    for (irr::s32 i = 0; i < CMap::TOKEN_COUNT; ++i) {
      CGameToken *token = app.map.GetToken(i);
      if (!token->IsCaptured())
        consider(token->GetMeshNode(), i, token->GetSquare());
    }
    return drawn;
  }

  position2di Project(const vector3df &point) const {
    irr::f32 h[4];
    viewProjection.transformVect(h, point);
    return position2di(irr::core::round32(halfWidth * h[0] / h[3] + halfWidth),
                       irr::core::round32(halfHeight - halfHeight * h[1] / h[3]));
  }

private:
  // Whether a triangle of the node covers the pixel nearer than `nearest`
  // (a 1/w value), which it then raises.
  bool Nearest(irr::scene::IAnimatedMeshSceneNode *node, const position2di &pixel, float &nearest) const {
    const irr::core::matrix4 world = node->getAbsoluteTransformation();
    const irr::scene::IMesh *mesh = node->getMesh()->getMesh(0);
    bool found = false;
    for (irr::u32 b = 0; b < mesh->getMeshBufferCount(); ++b) {
      const irr::scene::IMeshBuffer *buffer = mesh->getMeshBuffer(b);
      for (irr::u32 i = 0; i + 2 < buffer->getIndexCount(); i += 3) {
        float sx[3], sy[3], invW[3];
        bool inFront = true;
        for (int k = 0; k < 3; ++k) {
          const irr::u32 v = buffer->getIndexType() == irr::video::EIT_16BIT
                                 ? buffer->getIndices()[i + k]
                                 : ((const irr::u32 *)buffer->getIndices())[i + k];
          vector3df p = buffer->getPosition(v);
          world.transformVect(p);
          irr::f32 h[4];
          viewProjection.transformVect(h, p);
          inFront = inFront && h[3] > 0.01f;
          invW[k] = 1.f / h[3];
          sx[k] = halfWidth * h[0] * invW[k] + halfWidth;
          sy[k] = halfHeight - halfHeight * h[1] * invW[k];
        }
        if (!inFront)
          continue;
        // Barycentric weights of the pixel; outside when any is negative.
        const float area = (sx[1] - sx[0]) * (sy[2] - sy[0]) - (sx[2] - sx[0]) * (sy[1] - sy[0]);
        if (std::fabs(area) < 1e-6f)
          continue;
        const float px = float(pixel.X), py = float(pixel.Y);
        const float l1 = ((px - sx[0]) * (sy[2] - sy[0]) - (sx[2] - sx[0]) * (py - sy[0])) / area;
        const float l2 = ((sx[1] - sx[0]) * (py - sy[0]) - (px - sx[0]) * (sy[1] - sy[0])) / area;
        const float l0 = 1.f - l1 - l2;
        if (l0 < 0 || l1 < 0 || l2 < 0)
          continue;
        const float depth = l0 * invW[0] + l1 * invW[1] + l2 * invW[2];
        if (depth > nearest) {
          nearest = depth;
          found = true;
        }
      }
    }
    return found;
  }

  irr::core::matrix4 viewProjection;
  float halfWidth = 0, halfHeight = 0;
};

struct Tally {
  int squares = 0, pieces = 0, misses = 0;
};

std::string Name(const BoardSquare &s) {
  return s.IsOnBoard() ? std::string{char('a' + s.X), char('1' + s.Y)} : std::string("nothing");
}

std::string Name(const Drawn &d) {
  return (d.token >= 0 ? "token " + std::to_string(d.token) + " on " : "") + Name(d.square);
}

// Points at the pixel and compares the pick with what is drawn there.
bool PickAgrees(const ScreenTruth &truth, const position2di &pixel, const std::string &what) {
  const Drawn expected = truth.At(pixel);
  app.device->getCursorControl()->setPosition(pixel.X, pixel.Y);
  Drawn picked;
  const bool any = app.map.PickDrawn(picked.token, picked.square);
  const bool agrees =
      any ? picked.token == expected.token && picked.square == expected.square : !expected.square.IsOnBoard();
  EXPECT_TRUE(agrees) << what << ": drawn " << Name(expected) << ", picked " << (any ? Name(picked) : "nothing");
  return agrees;
}

// Checks the centre pixel of every square and of every piece's body from the
// camera as it stands; counts squares and pieces seen themselves there.
Tally CheckView() {
  app.device->run();
  app.driver->beginScene(true, true, irr::video::SColor(0, 0, 0, 0));
  app.sceneManager->drawAll(); // the camera's matrices follow its position
  app.driver->endScene();
  const ScreenTruth truth;
  Tally tally;
  for (irr::s32 x = 0; x < 8; ++x)
    for (irr::s32 y = 0; y < 8; ++y) {
      const position2di pixel = truth.Project(app.map.GetSquareWorldPosition(x, y));
      const Drawn drawn = truth.At(pixel);
      tally.squares += drawn.token < 0 && drawn.square == BoardSquare(x, y);
      tally.misses += !PickAgrees(truth, pixel, "centre of " + Name(BoardSquare(x, y)));
    }
  for (irr::s32 i = 0; i < CMap::TOKEN_COUNT; ++i) {
    const CGameToken *token = app.map.GetToken(i);
    if (token->IsCaptured())
      continue;
    // The body's middle: on the piece's axis, two fifths up its height.
    const irr::core::aabbox3df box = token->GetMeshNode()->getTransformedBoundingBox();
    const vector3df body(token->GetWorldPosition().X, box.MinEdge.Y + 0.4f * (box.MaxEdge.Y - box.MinEdge.Y),
                         token->GetWorldPosition().Z);
    const position2di pixel = truth.Project(body);
    tally.pieces += truth.At(pixel).token == i;
    tally.misses += !PickAgrees(truth, pixel, "body of token " + std::to_string(i) + " on " + Name(token->GetSquare()));
  }
  return tally;
}

void PlaceCamera(const vector3df &position) {
  irr::scene::ICameraSceneNode *camera = app.cameraRig.GetCamera();
  camera->setTarget(vector3df(0, 0, 0));
  camera->setPosition(position);
  camera->updateAbsolutePosition();
}

class Picking : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(testing_support::CreateNullDevice());
    ASSERT_TRUE(app.cameraRig.Init());
    ASSERT_TRUE(app.map.Init());
  }

  // The four fixed viewpoints and five orbited ones (turned around the
  // board, lower and nearer), each checked in full.
  void CheckAllViews(const char *position) {
    struct View {
      const char *name;
      vector3df at; // zero: one of the rig's fixed views
      bool white, top;
    } views[] = {
        {"white side", {}, true, false},
        {"white top", {}, true, true},
        {"black side", {}, false, false},
        {"black top", {}, false, true},
        {"orbit left", {-75, 65, -35}, false, false},
        {"orbit right", {75, 65, 35}, false, false},
        {"orbit low", {10, 25, -80}, false, false},
        {"orbit corner", {-60, 45, 60}, false, false},
        {"orbit near", {20, 40, -45}, false, false},
    };
    Tally total;
    for (const View &view : views) {
      if (view.at == vector3df())
        view.white ? app.cameraRig.SetWhiteView(view.top) : app.cameraRig.SetBlackView(view.top);
      else
        PlaceCamera(view.at);
      SCOPED_TRACE(view.name);
      const Tally tally = CheckView();
      std::cout << position << ", " << view.name << ": " << tally.squares << " squares and " << tally.pieces
                << " pieces seen at their centres, " << tally.misses << " misses\n";
      EXPECT_GT(tally.pieces, 0);
      total.misses += tally.misses;
    }
    EXPECT_EQ(total.misses, 0);
  }
};

} // namespace

TEST_F(Picking, EveryDrawnSquareAndPieceIsPickedInTheStartPosition) { CheckAllViews("start position"); }

TEST_F(Picking, EveryDrawnSquareAndPieceIsPickedInACrowdedMiddlegame) {
  irr::s32 side = White;
  std::string error;
  // Fourteen pieces a side with the centre blocked; two pawns taken are
  // hidden and must be looked through.
  ASSERT_TRUE(LoadFen(app.map, "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP1B1PPP/R2QKB1R w KQ - 0 8", side, error))
      << error;
  CheckAllViews("middlegame");
}

TEST_F(Picking, FromTheTopEverySquareCentreIsItsSquare) {
  // Straight down, a square's centre shows the piece on it or else the bare
  // field: the ground truth itself is checked against the position here.
  app.cameraRig.SetWhiteView(true);
  CheckView();
  const ScreenTruth truth;
  for (irr::s32 x = 0; x < 8; ++x)
    for (irr::s32 y = 0; y < 8; ++y) {
      irr::s32 standing = -1;
      if (!app.map.FindTokenAt(BoardSquare(x, y), standing))
        standing = -1;
      const Drawn drawn = truth.At(truth.Project(app.map.GetSquareWorldPosition(x, y)));
      EXPECT_EQ(drawn.token, standing) << Name(BoardSquare(x, y));
      EXPECT_EQ(drawn.square, BoardSquare(x, y));
    }
}
