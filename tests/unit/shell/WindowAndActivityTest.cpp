// The window's new sizes and what follows them, and the activity sources that
// tell the frame loop to draw, on the null driver.
#include "app/CApplication.h"
#include "tests/support/NullDevice.h"
#include "ui/CGUITextWindow.h"
#include "ui/GuiIds.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <unistd.h>

using namespace irr;

namespace {

class WindowTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(testing_support::CreateNullDevice());
    ASSERT_TRUE(app.cameraRig.Init());
    ASSERT_TRUE(app.gui.Init());
    ASSERT_TRUE(app.window.Init());
  }

  // The window system reports a new size; the next pass follows it.
  static void Resize(s32 width, s32 height) {
    app.driver->OnResize(core::dimension2d<u32>(u32(width), u32(height)));
    app.window.Update();
  }
};

class ActivityTest : public WindowTest {
protected:
  // Draws once (which runs the animators) at the device's current time.
  static void Draw() {
    app.device->run();
    gl_Draw();
  }
};

} // namespace

TEST_F(WindowTest, NewSizeMovesTheInterfaceToItsEdgesAndKeepsTheAspectRatio) {
  app.gui.SetStatusText(L"Game Status: Idle");
  app.gui.ToggleMovesWindow();
  app.gui.ShowColorWindow();
  app.framePacer.FrameDrawn(0);
  // From 1600 x 1000 the interface is drawn at 1.5: the same places, half as large again.
  struct Case {
    s32 width, height;
    float scale;
    core::rect<s32> camera, status, moves, colour;
  };
  const Case cases[] = {
      {1600, 1000, 1.5f, {8, 942, 58, 992}, {244, 942, 694, 992}, {1382, 38, 1592, 338}, {650, 425, 950, 635}},
      {800, 600, 1, {5, 562, 38, 595}, {162, 562, 462, 595}, {655, 25, 795, 225}, {300, 250, 500, 390}},
      {1024, 768, 1, {5, 730, 38, 763}, {162, 730, 462, 763}, {879, 25, 1019, 225}, {412, 334, 612, 474}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
    Resize(c.width, c.height);
    EXPECT_EQ(app.windowSize, core::dimension2d<s32>(c.width, c.height));
    EXPECT_EQ(app.gui.GetScale(), c.scale);
    EXPECT_NEAR(app.cameraRig.GetCamera()->getAspectRatio(), f32(c.width) / f32(c.height), 1e-4);
    // Bottom-left row: 5 pixels (at scale 1) above the bottom edge, the status band beside.
    EXPECT_EQ(app.gui.GetCameraButton(0)->getAbsolutePosition(), c.camera);
    EXPECT_EQ(app.gui.GetStatusBand()->getAbsolutePosition(), c.status);
    EXPECT_TRUE(
        app.gui.GetStatusBand()->getAbsolutePosition().isRectCollided(app.gui.GetStatusText()->getAbsolutePosition()));
    // Moves window at the right edge, colour window in the middle, its
    // buttons grown with it.
    EXPECT_EQ(app.gui.GetMovesWindow()->getAbsolutePosition(), c.moves);
    EXPECT_EQ(app.gui.GetColorWindow()->getAbsolutePosition(), c.colour);
    const core::rect<s32> white =
        app.guiEnvironment->getRootGUIElement()->getElementFromId(ID_BUTTON_WHITE, true)->getAbsolutePosition();
    EXPECT_EQ(white.getWidth(), s32(80 * c.scale));
    EXPECT_EQ(white.UpperLeftCorner - c.colour.UpperLeftCorner,
              core::position2d<s32>(s32(10 * c.scale), s32(30 * c.scale)));
    EXPECT_TRUE(app.framePacer.ShouldDraw(0)) << "a new size is drawn at once";
    app.framePacer.FrameDrawn(0);
  }
}

TEST_F(WindowTest, SameSizeChangesNothingAndFullScreenWithoutWindowIsHarmless) {
  app.framePacer.FrameDrawn(0);
  Resize(1024, 768);
  EXPECT_FALSE(app.framePacer.ShouldDraw(1)); // nothing new to show
  testing::internal::CaptureStdout();
  app.window.ToggleFullScreen();
  EXPECT_TRUE(app.window.IsFullScreen());
  app.window.ToggleFullScreen();
  const std::string log = testing::internal::GetCapturedStdout();
  EXPECT_FALSE(app.window.IsFullScreen());
  EXPECT_NE(log.find("Kelvar: full screen on"), std::string::npos);
  EXPECT_NE(log.find("Kelvar: full screen off"), std::string::npos);
  EXPECT_FALSE(app.window.TakeExposeEvents());
}

TEST_F(WindowTest, SizeOutOfFullScreenAndFullScreenAreRememberedForTheNextStart) {
  char folder[] = "/tmp/kelvar-window-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string path = std::string(folder) + "/kelvar.ini";
  std::ofstream(path) << "[window]\nwidth = 400\nheight = 5000\n";
  app.settings.SetPath(path);
  ASSERT_TRUE(app.settings.Load());
  ASSERT_TRUE(app.settings.Init());
  // Too narrow for the interface: the window opens at its minimum width.
  EXPECT_EQ(CWindowControl::StartSize(app.settings.Get()), core::dimension2d<s32>(800, 5000));

  // An unchanged window writes nothing.
  ASSERT_TRUE(app.window.Init());
  Resize(1024, 768); // the size it had
  app.window.Exit();
  std::ifstream untouched(path);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(untouched), {}), "[window]\nwidth = 400\nheight = 5000\n");

  // The last size out of full screen is kept, not the full screen's size.
  Resize(1280, 900);
  app.window.ToggleFullScreen();
  Resize(1920, 1200);
  app.window.Exit();
  CSettings saved;
  saved.Load(path);
  EXPECT_EQ(saved.width, 1280);
  EXPECT_EQ(saved.height, 900);
  EXPECT_TRUE(saved.fullscreen);

  // The next start opens at the remembered size; full screen left again is
  // remembered as off, the size as it was.
  ASSERT_TRUE(app.settings.Load());
  ASSERT_TRUE(app.settings.Init());
  app.windowSize = CWindowControl::StartSize(app.settings.Get());
  app.driver->OnResize(core::dimension2d<u32>(1280, 900));
  ASSERT_TRUE(app.window.Init());
  app.window.ToggleFullScreen();
  app.window.ToggleFullScreen();
  app.window.Exit();
  saved.Load(path);
  EXPECT_EQ(saved.width, 1280);
  EXPECT_FALSE(saved.fullscreen);

  remove(path.c_str());
  rmdir(folder);
  app.settings.SetPath("");
}

TEST(RendererTest, OnlyRenderersThatDrawOnTheProcessorGoWithoutMultisampling) {
  for (const char *software :
       {"llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", "Mesa X11 Software Rasterizer", "Mesa DRI swrast"})
    EXPECT_TRUE(CWindowControl::IsSoftwareRenderer(software)) << software;
  for (const char *hardware : {"AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49, 6.1.0-13-amd64)",
                               "Mesa Intel(R) UHD Graphics 620 (KBL GT2)", "NVIDIA GeForce GTX 1060/PCIe/SSE2", ""})
    EXPECT_FALSE(CWindowControl::IsSoftwareRenderer(hardware)) << hardware;
}

TEST_F(WindowTest, OpenHelpWindowAndBannerFollowTheNewSize) {
  app.gui.ToggleHelpWindow();
  app.gui.ShowBanner(core::rect<s32>(292, 70, 732, 120), L"CHECK MATE!", video::SColor(150, 220, 0, 0));
  Resize(1280, 960); // still at scale 1: what was centred stays centred
  ASSERT_NE(app.gui.GetHelpWindow(), nullptr);
  EXPECT_EQ(app.gui.GetHelpWindow()->getAbsolutePosition(), core::rect<s32>(320, 50, 960, 910));
  EXPECT_EQ(app.gui.GetBannerText()->getAbsolutePosition(), core::rect<s32>(420, 70, 860, 120));
  // At 1.5 the banner goes across the window as a game's end puts it, the
  // Review button under it, both in the larger font.
  Resize(1600, 1000);
  EXPECT_EQ(app.gui.GetHelpWindow()->getAbsolutePosition(), core::rect<s32>(400, 75, 1200, 925));
  EXPECT_EQ(app.gui.GetBannerText()->getAbsolutePosition(), core::rect<s32>(30, 36, 1570, 201));
  EXPECT_EQ(app.gui.GetBannerButton()->getAbsolutePosition(), core::rect<s32>(725, 210, 875, 252));
  EXPECT_EQ(app.gui.GetBannerText()->getActiveFont(), app.gui.GetLargeFont());
  EXPECT_GT(app.gui.GetLargeFont()->getDimension(L"A").Height, 60u);
}

TEST_F(ActivityTest, RunningAnimatorCountsUntilItHasFinished) {
  scene::ISceneManager *smgr = app.sceneManager;
  scene::ISceneNode *node = smgr->addEmptySceneNode();
  scene::ISceneNodeAnimator *fly =
      smgr->createFlyStraightAnimator(core::vector3df(0, 50, 0), core::vector3df(0, 0, 0), 200);
  node->addAnimator(fly);
  fly->drop();
  EXPECT_TRUE(CActivityMonitor::HasRunningAnimators(smgr->getRootSceneNode()));

  node->setVisible(false); // a hidden node's animators do not run
  EXPECT_FALSE(CActivityMonitor::HasRunningAnimators(smgr->getRootSceneNode()));
  node->setVisible(true);

  app.device->getTimer()->setTime(app.device->getTimer()->getTime() + 500);
  Draw();
  EXPECT_FALSE(CActivityMonitor::HasRunningAnimators(smgr->getRootSceneNode()));

  // A looping turn never finishes: it keeps the picture moving.
  scene::ISceneNodeAnimator *spin = smgr->createRotationAnimator(core::vector3df(0, 1, 0));
  node->addAnimator(spin);
  spin->drop();
  EXPECT_TRUE(CActivityMonitor::HasRunningAnimators(smgr->getRootSceneNode()));
}

TEST_F(ActivityTest, CameraMouseControlCountsOnlyThroughItsEvents) {
  // The camera's orbit animator runs forever but moves only on input.
  EXPECT_FALSE(CActivityMonitor::HasRunningAnimators(app.sceneManager->getRootSceneNode()));
  app.activity.Poll(); // the first poll sees everything as new
  EXPECT_FALSE(app.activity.Poll());
  testing_support::PostMouse(EMIE_MOUSE_MOVED, 300, 300);
  EXPECT_TRUE(app.activity.Poll());
  EXPECT_FALSE(app.activity.Poll());
}

TEST_F(ActivityTest, VisibleStateChangesCount) {
  app.activity.Poll();
  ASSERT_FALSE(app.activity.Poll());

  app.cameraRig.SetBlackView(true); // a camera button: a new viewpoint
  EXPECT_TRUE(app.activity.Poll());
  EXPECT_FALSE(app.activity.Poll());

  app.gui.ShowSplash(true); // the start-up picture comes and goes
  EXPECT_TRUE(app.activity.Poll());
  app.gui.ShowSplash(false);
  EXPECT_TRUE(app.activity.Poll());

  app.gui.ShowAboutDialog(); // a dialog appears without a click
  EXPECT_TRUE(app.activity.Poll());

  app.debugWindow.Toggle(); // live values: redrawn while open
  EXPECT_TRUE(app.activity.Poll());
  EXPECT_TRUE(app.activity.Poll());
}
