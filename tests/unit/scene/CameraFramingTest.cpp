// How the camera frames the board: from each of the four fixed views, at the
// window's usual sizes, the whole set (board, labels, pieces, trays) lies
// inside the window and the board spans a good part of its width; the zoom
// stays between its near and far limits; a view change glides.
#include "app/CApplication.h"
#include "tests/support/NullDevice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using irr::core::vector3df;

namespace {

struct Extent {
  float left = 1e9f, right = -1e9f, top = 1e9f, bottom = -1e9f;
  void Add(float x, float y) {
    left = std::min(left, x);
    right = std::max(right, x);
    top = std::min(top, y);
    bottom = std::max(bottom, y);
  }
};

// The window pixel of a point as the camera projects it for a window of w x h.
bool Project(irr::scene::ICameraSceneNode *camera, const vector3df &point, float w, float h, float &x, float &y) {
  irr::core::matrix4 transform = camera->getProjectionMatrix() * camera->getViewMatrix();
  float v[4] = {point.X, point.Y, point.Z, 1.f};
  transform.multiplyWith1x4Matrix(v);
  if (v[3] <= 0)
    return false;
  x = (v[0] / v[3] * 0.5f + 0.5f) * w;
  y = (0.5f - v[1] / v[3] * 0.5f) * h;
  return true;
}

// Every visible mesh of the scene (the sky box aside), as boxes in the world.
void CollectBoxes(irr::scene::ISceneNode *node, std::vector<irr::core::aabbox3df> &boxes) {
  for (irr::scene::ISceneNode *child : node->getChildren()) {
    if (!child->isVisible())
      continue;
    const irr::scene::ESCENE_NODE_TYPE type = child->getType();
    if (type == irr::scene::ESNT_MESH || type == irr::scene::ESNT_ANIMATED_MESH)
      boxes.push_back(child->getTransformedBoundingBox());
    CollectBoxes(child, boxes);
  }
}

class CameraFraming : public testing::Test {
protected:
  void SetUp() override {
    folder = testing_support::EnterCopyOfRunFolder();
    ASSERT_TRUE(gl_Init(irr::video::EDT_NULL));
    testing_support::RunFrames(1);
  }
  void TearDown() override {
    if (app.device)
      gl_Exit();
  }

  // Where the camera draws the board's squares and the whole set in a window
  // of w x h; false when a part of the set is behind the camera.
  static bool ProjectSet(float w, float h, Extent &board, Extent &all) {
    irr::scene::ICameraSceneNode *camera = app.cameraRig.GetCamera();
    camera->setAspectRatio(w / h);
    camera->OnAnimate(0);
    camera->render(); // brings the view matrix up to date
    float x, y;
    for (float bx : {-40.f, 40.f})
      for (float bz : {-40.f, 40.f})
        if (Project(camera, vector3df(bx, 0, bz), w, h, x, y))
          board.Add(x, y);
    std::vector<irr::core::aabbox3df> boxes;
    CollectBoxes(app.sceneManager->getRootSceneNode(), boxes);
    bool behind = false;
    for (const auto &box : boxes) {
      vector3df corners[8];
      box.getEdges(corners);
      for (const vector3df &corner : corners)
        if (Project(camera, corner, w, h, x, y))
          all.Add(x, y);
        else
          behind = true;
    }
    return !behind;
  }

  // The board's share of the window's width and whether the whole set fits.
  static void Measure(float w, float h, float &share, bool &fits, std::string &detail) {
    Extent board, all;
    const bool inFront = ProjectSet(w, h, board, all);
    share = (board.right - board.left) / w;
    fits = inFront && all.left >= 0 && all.right <= w && all.top >= 0 && all.bottom <= h;
    char text[200];
    std::snprintf(text, sizeof text, "%gx%g: board %.0f..%.0f (%.0f%%), set %.0f..%.0f x %.0f..%.0f", w, h, board.left,
                  board.right, share * 100, all.left, all.right, all.top, all.bottom);
    detail = text;
  }

  std::string folder;
};

} // namespace

TEST_F(CameraFraming, EveryViewShowsTheWholeSetWithTheBoardSpanningMostOfTheWidth) {
  const struct {
    const char *name;
    bool white, top;
  } views[] = {
      {"white side", true, false}, {"white top", true, true}, {"black side", false, false}, {"black top", false, true}};
  const struct { float w, h; } sizes[] = {{1024, 768}, {800, 600}, {1600, 1000}, {2560, 1440}};
  for (const auto &view : views)
    for (const auto &size : sizes) {
      app.driver->OnResize(irr::core::dimension2du(irr::u32(size.w), irr::u32(size.h)));
      if (view.white)
        app.cameraRig.SetWhiteView(view.top);
      else
        app.cameraRig.SetBlackView(view.top);
      app.cameraRig.FinishGlide();
      float share = 0;
      bool fits = false;
      std::string detail;
      Measure(size.w, size.h, share, fits, detail);
      if (getenv("KELVAR_FRAMING"))
        std::printf("%s %s\n", view.name, detail.c_str());
      EXPECT_TRUE(fits) << view.name << " " << detail;
      // Measured (run with KELVAR_FRAMING=1 to print): side views 72% at
      // 1024x768, 70% at 800x600, 67-68% on wide screens; top views 42-44%
      // at 4:3 and 34-37% on wide screens, where the set's depth (labels,
      // trays) against the window's height leaves no more. Before the views
      // aimed nearer the viewer with a narrower lens: side views 47-48% and
      // 38-41%, top views 40-42% and 33-36%.
      const bool wide = size.w / size.h >= 1.5f;
      EXPECT_GE(share, view.top ? (wide ? 0.33f : 0.40f) : 0.65f) << view.name << " " << detail;
    }
}

TEST_F(CameraFraming, ZoomStaysWithinItsLimitsAndViewChangesGlide) {
  app.driver->OnResize(irr::core::dimension2du(1024, 768));
  app.cameraRig.SetWhiteView(false);
  irr::scene::ICameraSceneNode *camera = app.cameraRig.GetCamera();
  const vector3df aim = camera->getTarget();
  const auto distance = [&] { return (camera->getPosition() - camera->getTarget()).getLength(); };
  const float fitted = distance();
  app.cameraRig.Zoom(1);
  app.cameraRig.FinishGlide();
  EXPECT_NEAR(distance(), fitted * CCameraRig::ZOOM_STEP, 0.01f);
  for (int notch = 0; notch < 30; ++notch)
    app.cameraRig.Zoom(1);
  app.cameraRig.FinishGlide();
  EXPECT_NEAR(distance(), CCameraRig::NEAR_DISTANCE, 0.01f);
  app.cameraRig.Zoom(-60);
  app.cameraRig.FinishGlide();
  EXPECT_NEAR(distance(), CCameraRig::FAR_DISTANCE, 0.01f);
  EXPECT_EQ(camera->getTarget(), aim) << "the zoom goes towards the point in the middle of the view";
  EXPECT_LT(aim.getLength(), 40.f) << "a point of the board";

  // A camera button glides: half way through, the camera is between the two
  // views, and at the end it stands at the new one.
  app.cameraRig.SetWhiteView(false);
  const vector3df white = camera->getPosition();
  app.cameraRig.SetBlackView(false, true);
  EXPECT_TRUE(app.cameraRig.IsGliding());
  EXPECT_EQ(camera->getPosition(), white) << "no jump";
  testing_support::RunFrames(1);
  app.cameraRig.FinishGlide();
  EXPECT_FALSE(app.cameraRig.IsGliding());
  EXPECT_TRUE(camera->getPosition().equals(app.cameraRig.GetViewFraming(false, false).position, 0.01f));
  EXPECT_GT(camera->getPosition().Z, 0.f) << "behind Black";
}

TEST_F(CameraFraming, WindowsBesideOrAboveTheBoardAndANewSizeRefitAFixedViewButNotOneThePlayerMoved) {
  // The review's evaluation bar at the left edge and its window at the right;
  // the game-over banner with its button and note under the menu bar.
  struct Room {
    float left, right, top;
  };
  const float w = 1024, h = 768, left = 40, right = 310;
  app.driver->OnResize(irr::core::dimension2du(1024, 768));
  for (const Room room : {Room{left, right, 0}, Room{0, 0, 202}})
    for (bool white : {true, false}) {
      white ? app.cameraRig.SetWhiteView(false) : app.cameraRig.SetBlackView(false);
      app.cameraRig.SetSideRoom(irr::s32(room.left), irr::s32(room.right));
      app.cameraRig.SetTopRoom(irr::s32(room.top));
      EXPECT_TRUE(app.cameraRig.IsGliding()) << "the camera glides to the smaller view";
      app.cameraRig.FinishGlide();
      Extent board, all;
      EXPECT_TRUE(ProjectSet(w, h, board, all));
      if (getenv("KELVAR_FRAMING"))
        std::printf("%s side, room %.0f/%.0f/%.0f: board %.0f..%.0f, set %.0f..%.0f x %.0f..%.0f\n",
                    white ? "white" : "black", room.left, room.right, room.top, board.left, board.right, all.left,
                    all.right, all.top, all.bottom);
      EXPECT_GE(all.left, room.left) << white;
      EXPECT_LE(all.right, w - room.right) << white;
      EXPECT_GE(all.top, room.top) << white;
      EXPECT_NEAR((board.left + board.right) / 2, (room.left + w - room.right) / 2, 8.f)
          << "the board in the free part's middle";
      EXPECT_GT(board.right - board.left, 0.5f * (w - room.left - room.right)) << white;
      app.cameraRig.SetSideRoom(0, 0);
      app.cameraRig.SetTopRoom(0);
      app.cameraRig.FinishGlide();
    }
  // A new window size refits the view at once.
  app.driver->OnResize(irr::core::dimension2du(1600, 1000));
  app.cameraRig.OnWindowResized();
  EXPECT_FALSE(app.cameraRig.IsGliding());
  EXPECT_TRUE(
      app.cameraRig.GetCamera()->getPosition().equals(app.cameraRig.GetViewFraming(false, false).position, 0.01f));

  // Zoomed by the player: the camera stays where it is.
  app.cameraRig.Zoom(2);
  app.cameraRig.FinishGlide();
  const vector3df zoomed = app.cameraRig.GetCamera()->getPosition();
  app.cameraRig.SetSideRoom(irr::s32(left), irr::s32(right));
  app.driver->OnResize(irr::core::dimension2du(1024, 768));
  app.cameraRig.OnWindowResized();
  EXPECT_FALSE(app.cameraRig.IsGliding());
  EXPECT_EQ(app.cameraRig.GetCamera()->getPosition(), zoomed);
  app.cameraRig.SetSideRoom(0, 0);
}
