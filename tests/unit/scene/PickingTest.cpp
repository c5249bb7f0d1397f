// Every square can be pointed at from every fixed viewpoint: the centre of a
// square, as the camera shows it, picks that square.
#include "app/CApplication.h"
#include "tests/support/NullDevice.h"

#include <gtest/gtest.h>

TEST(Picking, EverySquareCentrePicksItsSquareFromEveryView) {
  ASSERT_TRUE(testing_support::CreateNullDevice());
  ASSERT_TRUE(app.cameraRig.Init());
  ASSERT_TRUE(app.map.Init());
  struct View {
    const char *name;
    bool white, top;
  } views[] = {
      {"white side", true, false}, {"white top", true, true}, {"black side", false, false}, {"black top", false, true}};
  for (const View &view : views) {
    view.white ? app.cameraRig.SetWhiteView(view.top) : app.cameraRig.SetBlackView(view.top);
    app.device->run();
    app.driver->beginScene(true, true, irr::video::SColor(0, 0, 0, 0));
    app.sceneManager->drawAll();
    app.driver->endScene();
    for (int x = 0; x < 8; ++x)
      for (int y = 0; y < 8; ++y) {
        const irr::core::position2di pixel =
            app.sceneManager->getSceneCollisionManager()->getScreenCoordinatesFrom3DPosition(
                app.map.GetSquareWorldPosition(x, y), app.cameraRig.GetCamera());
        app.device->getCursorControl()->setPosition(pixel.X, pixel.Y);
        BoardSquare picked(-1, -1);
        EXPECT_TRUE(app.map.PickSquare(picked));
        EXPECT_EQ(picked, BoardSquare(x, y))
            << view.name << " " << char('a' + x) << y + 1 << " picked " << char('a' + picked.X) << picked.Y + 1;
      }
  }
}
