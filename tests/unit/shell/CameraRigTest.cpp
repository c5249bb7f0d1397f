// The camera's fixed viewpoints really place it, frame after frame, and the
// mouse still turns, zooms and moves it from there.
#include "app/CApplication.h"
#include "tests/support/NullDevice.h"

#include <gtest/gtest.h>

#include <cmath>

using irr::core::vector3df;

namespace {

class CameraRigTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(testing_support::CreateNullDevice());
    ASSERT_TRUE(app.cameraRig.Init());
    camera = app.cameraRig.GetCamera();
  }

  // Draws the scene n times, which runs the camera's animators.
  void Frames(int n) {
    for (int i = 0; i < n; ++i) {
      app.device->run();
      app.driver->beginScene(true, true, irr::video::SColor(0, 0, 0, 0));
      app.sceneManager->drawAll();
      app.driver->endScene();
      app.cameraRig.Update();
    }
  }

  static void Mouse(irr::EMOUSE_INPUT_EVENT what, int x, int y) { testing_support::PostMouse(what, x, y); }

  void ExpectNear(const vector3df &actual, const vector3df &expected) {
    EXPECT_NEAR(actual.X, expected.X, 1e-3);
    EXPECT_NEAR(actual.Y, expected.Y, 1e-3);
    EXPECT_NEAR(actual.Z, expected.Z, 1e-3);
  }

  // A fixed view: a top view looks down from just behind the side; a side
  // view from behind the player, 15 degrees towards the a-file, at a pitch between 32 and 38 degrees. Either aims at a
  // point of the line between the players, on the viewer's half of the board.
  void ExpectView(bool white, bool top) {
    const vector3df target = camera->getTarget(), offset = camera->getAbsolutePosition() - target;
    const float side = white ? -1.f : 1.f;
    EXPECT_NEAR(target.X, 0, 1e-3);
    EXPECT_NEAR(target.Y, 0, 1e-3);
    EXPECT_GE(target.Z * side, 0.f);
    EXPECT_LE(target.Z * side, 40.f);
    if (top) {
      ExpectNear(vector3df(offset).normalize(), vector3df(0, 100, side).normalize());
      return;
    }
    const float yaw = std::atan2(offset.X, offset.Z) * irr::core::RADTODEG;
    const float pitch = std::asin(offset.Y / offset.getLength()) * irr::core::RADTODEG;
    EXPECT_NEAR(yaw, white ? -165.f : -15.f, 1e-2);
    EXPECT_GE(pitch, 32.f - 1e-2f);
    EXPECT_LE(pitch, 38.f + 1e-2f);
  }

  irr::scene::ICameraSceneNode *camera = nullptr;
};

} // namespace

TEST_F(CameraRigTest, StartsBehindWhiteWithTheLightOnWhitesSide) {
  Frames(5);
  ExpectView(true, false);
  ExpectNear(app.cameraRig.GetLight()->getAbsolutePosition(), vector3df(20, 45, 0));
  EXPECT_NEAR(camera->getFOV(), irr::core::PI / 4, 1e-6);
  EXPECT_EQ(app.sceneManager->getActiveCamera(), camera);
  EXPECT_EQ(app.sceneManager->getShadowColor(), irr::video::SColor(100, 0, 0, 0));
  EXPECT_FLOAT_EQ(app.cameraRig.GetLight()->getLightData().AmbientColor.r, 0.004f);
  EXPECT_FLOAT_EQ(app.cameraRig.GetLight()->getLightData().DiffuseColor.g, 0.4f);
  EXPECT_FLOAT_EQ(app.cameraRig.GetLight()->getRadius(), 2000.f);
}

TEST_F(CameraRigTest, EachViewPlacesTheCameraAndKeepsItThere) {
  const struct { bool white, top; } views[] = {{true, true}, {false, true}, {false, false}, {true, false}};
  for (const auto &view : views) {
    SCOPED_TRACE(testing::Message() << (view.white ? "white " : "black ") << (view.top ? "top" : "side"));
    view.white ? app.cameraRig.SetWhiteView(view.top) : app.cameraRig.SetBlackView(view.top);
    Frames(4);
    ExpectView(view.white, view.top);
  }
}

TEST_F(CameraRigTest, LightFollowsTheHumansSide) {
  app.cameraRig.SetLightSide(Black);
  Frames(1);
  ExpectNear(app.cameraRig.GetLight()->getAbsolutePosition(), vector3df(-20, 45, 0));
  app.cameraRig.SetLightSide(White);
  Frames(1);
  ExpectNear(app.cameraRig.GetLight()->getAbsolutePosition(), vector3df(20, 45, 0));
}

TEST_F(CameraRigTest, LeftDragOrbitsAroundTheTargetFromTheCurrentView) {
  app.cameraRig.SetBlackView(false);
  Frames(2);
  const vector3df before = camera->getAbsolutePosition(), target = camera->getTarget();
  const float radius = (before - target).getLength();

  Mouse(irr::EMIE_LMOUSE_PRESSED_DOWN, 500, 400);
  Frames(2);
  ExpectNear(camera->getAbsolutePosition(), before); // a press alone moves nothing
  Mouse(irr::EMIE_MOUSE_MOVED, 650, 380);
  Frames(2);
  const vector3df turned = camera->getAbsolutePosition();
  EXPECT_GT(turned.getDistanceFrom(before), 10.f);
  EXPECT_NEAR((turned - target).getLength(), radius, 1e-2); // same distance from the target
  ExpectNear(camera->getTarget(), target);
  Mouse(irr::EMIE_LMOUSE_LEFT_UP, 650, 380);
  Mouse(irr::EMIE_MOUSE_MOVED, 100, 100);
  Frames(3);
  ExpectNear(camera->getAbsolutePosition(), turned); // stays after the release

  // A viewpoint chosen after the drag places the camera exactly again.
  app.cameraRig.SetWhiteView(true);
  Frames(3);
  ExpectView(true, true);
}

TEST_F(CameraRigTest, MiddleDragZoomsAndRightDragMovesTheTarget) {
  Frames(1);
  const vector3df target = camera->getTarget();
  const float radius = (camera->getAbsolutePosition() - target).getLength();
  Mouse(irr::EMIE_MMOUSE_PRESSED_DOWN, 500, 400);
  Mouse(irr::EMIE_MOUSE_MOVED, 400, 400);
  Frames(2);
  EXPECT_GT((camera->getAbsolutePosition() - target).getLength(), radius + 5.f);
  ExpectNear(camera->getTarget(), target);
  Mouse(irr::EMIE_MMOUSE_LEFT_UP, 400, 400);

  Mouse(irr::EMIE_RMOUSE_PRESSED_DOWN, 500, 400);
  Mouse(irr::EMIE_MOUSE_MOVED, 600, 400);
  Frames(2);
  EXPECT_GT(camera->getTarget().getDistanceFrom(target), 5.f);
  Mouse(irr::EMIE_RMOUSE_LEFT_UP, 600, 400);
}
