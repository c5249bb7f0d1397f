// The camera's fixed viewpoints really place it, frame after frame, and the
// mouse still turns, zooms and moves it from there.
#include "app/CApplication.h"
#include "tests/support/NullDevice.h"

#include <gtest/gtest.h>

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

  // The fixed views are set by their direction; the distance fits the window.
  void ExpectDirection(const vector3df &actual, const vector3df &expected) {
    ExpectNear(vector3df(actual).normalize(), vector3df(expected).normalize());
  }
  void ExpectNear(const vector3df &actual, const vector3df &expected) {
    EXPECT_NEAR(actual.X, expected.X, 1e-3);
    EXPECT_NEAR(actual.Y, expected.Y, 1e-3);
    EXPECT_NEAR(actual.Z, expected.Z, 1e-3);
  }

  irr::scene::ICameraSceneNode *camera = nullptr;
};

} // namespace

TEST_F(CameraRigTest, StartsBehindWhiteWithTheLightOnWhitesSide) {
  Frames(5);
  ExpectDirection(camera->getAbsolutePosition(), vector3df(35, 65, -75));
  ExpectNear(camera->getTarget(), vector3df(0, 0, 0));
  ExpectNear(app.cameraRig.GetLight()->getAbsolutePosition(), vector3df(20, 45, 0));
  EXPECT_NEAR(camera->getFOV(), irr::core::PI / 3, 1e-6);
  EXPECT_EQ(app.sceneManager->getActiveCamera(), camera);
  EXPECT_EQ(app.sceneManager->getShadowColor(), irr::video::SColor(100, 0, 0, 0));
  EXPECT_FLOAT_EQ(app.cameraRig.GetLight()->getLightData().AmbientColor.r, 0.004f);
  EXPECT_FLOAT_EQ(app.cameraRig.GetLight()->getLightData().DiffuseColor.g, 0.4f);
  EXPECT_FLOAT_EQ(app.cameraRig.GetLight()->getRadius(), 2000.f);
}

TEST_F(CameraRigTest, EachViewPlacesTheCameraAndKeepsItThere) {
  struct View {
    bool white, top;
    vector3df position;
  };
  const View views[] = {{true, true, {0, 100, -1}},
                        {false, true, {0, 100, 1}},
                        {false, false, {-35, 65, 75}},
                        {true, false, {35, 65, -75}}};
  for (const View &view : views) {
    SCOPED_TRACE(testing::Message() << view.position.X << "," << view.position.Y << "," << view.position.Z);
    view.white ? app.cameraRig.SetWhiteView(view.top) : app.cameraRig.SetBlackView(view.top);
    Frames(4);
    ExpectDirection(camera->getAbsolutePosition(), view.position);
    ExpectNear(camera->getTarget(), vector3df(0, 0, 0));
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
  const vector3df before = camera->getAbsolutePosition();
  const float radius = before.getLength();

  Mouse(irr::EMIE_LMOUSE_PRESSED_DOWN, 500, 400);
  Frames(2);
  ExpectNear(camera->getAbsolutePosition(), before); // a press alone moves nothing
  Mouse(irr::EMIE_MOUSE_MOVED, 650, 380);
  Frames(2);
  const vector3df turned = camera->getAbsolutePosition();
  EXPECT_GT(turned.getDistanceFrom(before), 10.f);
  EXPECT_NEAR(turned.getLength(), radius, 1e-2); // same distance from the target
  ExpectNear(camera->getTarget(), vector3df(0, 0, 0));
  Mouse(irr::EMIE_LMOUSE_LEFT_UP, 650, 380);
  Mouse(irr::EMIE_MOUSE_MOVED, 100, 100);
  Frames(3);
  ExpectNear(camera->getAbsolutePosition(), turned); // stays after the release

  // A viewpoint chosen after the drag places the camera exactly again.
  app.cameraRig.SetWhiteView(true);
  Frames(3);
  ExpectDirection(camera->getAbsolutePosition(), vector3df(0, 100, -1));
}

TEST_F(CameraRigTest, MiddleDragZoomsAndRightDragMovesTheTarget) {
  Frames(1);
  const float radius = camera->getAbsolutePosition().getLength();
  Mouse(irr::EMIE_MMOUSE_PRESSED_DOWN, 500, 400);
  Mouse(irr::EMIE_MOUSE_MOVED, 400, 400);
  Frames(2);
  EXPECT_GT(camera->getAbsolutePosition().getLength(), radius + 5.f);
  ExpectNear(camera->getTarget(), vector3df(0, 0, 0));
  Mouse(irr::EMIE_MMOUSE_LEFT_UP, 400, 400);

  Mouse(irr::EMIE_RMOUSE_PRESSED_DOWN, 500, 400);
  Mouse(irr::EMIE_MOUSE_MOVED, 600, 400);
  Frames(2);
  EXPECT_GT(camera->getTarget().getLength(), 5.f);
  Mouse(irr::EMIE_RMOUSE_LEFT_UP, 600, 400);
}
