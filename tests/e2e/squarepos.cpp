// Prints the window pixel of each named square's centre as the game's camera
// sees it from a fixed viewpoint, so end-to-end tests can click on squares;
// "white-tray-N" / "black-tray-N" name the middle of the body of a piece
// standing on place N of that side's tray (0 = first).
// A view named with "-banner" (white-side-banner) is the one framed below the
// game-over banner.
// Usage: kelvar_squarepos white-top|white-side|black-top|black-side[-banner] e2 e4 white-tray-0 ...
#include "app/CApplication.h"
#include "scene/CCaptureTray.h"
#include "ui/CGuiLayout.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The middle of a piece's body on the tray, where it is scaled down.
const float TRAY_BODY_HEIGHT = 3.f * CCaptureTray::PIECE_SCALE;

// A tray place named "white-tray-N" or "black-tray-N".
bool ParseTrayPlace(const char *name, irr::core::vector3df &at) {
  const bool white = strncmp(name, "white-tray-", 11) == 0, black = strncmp(name, "black-tray-", 11) == 0;
  if (!white && !black)
    return false;
  char *end = nullptr;
  const long slot = strtol(name + 11, &end, 10);
  if (end == name + 11 || *end || slot < 0 || slot >= CCaptureTray::SLOT_COUNT)
    return false;
  at = CCaptureTray::SlotPosition(white ? White : Black, irr::s32(slot));
  at.Y = TRAY_BODY_HEIGHT;
  return true;
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: %s VIEW SQUARE...\n", argv[0]);
    return 2;
  }
  app.windowSize = irr::core::dimension2d<irr::s32>(1024, 768);
  app.device = irr::createDevice(irr::video::EDT_NULL, irr::core::dimension2d<irr::u32>(1024, 768));
  if (!app.device)
    return 1;
  app.device->getLogger()->setLogLevel(irr::ELL_NONE);
  app.driver = app.device->getVideoDriver();
  app.sceneManager = app.device->getSceneManager();
  if (!app.cameraRig.Init())
    return 1;

  const char *view = argv[1];
  const bool top = strstr(view, "top") != nullptr;
  if (strstr(view, "-banner")) {
    const CGuiLayout::Size size(1024, 768);
    app.cameraRig.SetTopRoom(CGuiLayout::BannerRoom(CGuiLayout::Banner(size, 1.f), 1.f));
  }
  if (strncmp(view, "black", 5) == 0)
    app.cameraRig.SetBlackView(top);
  else
    app.cameraRig.SetWhiteView(top);
  irr::scene::ICameraSceneNode *camera = app.cameraRig.GetCamera();
  camera->OnAnimate(0);
  camera->render(); // builds the view and projection matrices

  irr::scene::ISceneCollisionManager *collision = app.sceneManager->getSceneCollisionManager();
  for (int i = 2; i < argc; ++i) {
    const char *name = argv[i];
    irr::core::vector3df at;
    if (ParseTrayPlace(name, at)) {
      const irr::core::position2di pixel = collision->getScreenCoordinatesFrom3DPosition(at, camera);
      printf("%d %d\n", pixel.X, pixel.Y);
      continue;
    }
    if (strlen(name) != 2 || name[0] < 'a' || name[0] > 'h' || name[1] < '1' || name[1] > '8') {
      fprintf(stderr, "not a square: %s\n", name);
      return 2;
    }
    const irr::core::vector3df centre(10.f * (name[0] - 'a') - 35, 0, 10.f * (name[1] - '1') - 35);
    const irr::core::position2di pixel = collision->getScreenCoordinatesFrom3DPosition(centre, camera);
    printf("%d %d\n", pixel.X, pixel.Y);
  }
  return 0;
}
