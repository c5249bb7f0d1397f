// kelvar_preview <media folder> <picture.bmp> [view]: renders the generated
// assets the way the game places them (same scales, positions, turns, camera
// and light) with the OpenGL driver and saves the back buffer. A developer
// tool for judging the artwork; it is not installed into the run folder.
//   views: "board" (game camera), "black" (Black's camera), "close" (pieces up
//   close), "lit" (game camera with highlights, markers and shadows on).
//   "bench" is the lit view drawn for 60 frames, printing the frame rate.
//   Six more numbers set the camera position and target of any view.
#include <irrlicht.h>

#include <GL/gl.h>

#include <cstdio>
#include <cstring>
#include <string>

using namespace irr;

namespace {

struct SPieceRow {
  const char *mesh;
  int file, rank;
  bool black;
  float turn;
};

std::string gMedia;

std::string MediaPath(const char *name) { return gMedia + "/" + name; }

scene::IAnimatedMeshSceneNode *AddNode(scene::ISceneManager *smgr, const char *mesh, const core::vector3df &pos,
                                       const core::vector3df &rot, const core::vector3df &scale) {
  scene::IAnimatedMesh *m = smgr->getMesh(MediaPath(mesh).c_str());
  if (!m) {
    std::fprintf(stderr, "preview: cannot load %s\n", mesh);
    return nullptr;
  }
  scene::IAnimatedMeshSceneNode *node = smgr->addAnimatedMeshSceneNode(m, nullptr, -1, pos, rot, scale);
  for (u32 i = 0; i < node->getMaterialCount(); ++i) {
    node->getMaterial(i).setFlag(video::EMF_LIGHTING, true);
    node->getMaterial(i).setFlag(video::EMF_NORMALIZE_NORMALS, true);
  }
  return node;
}

void SetTexture(scene::ISceneNode *node, video::ITexture *t) {
  if (!node)
    return;
  for (u32 i = 0; i < node->getMaterialCount(); ++i)
    node->getMaterial(i).setTexture(0, t);
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: kelvar_preview <media folder> <out.bmp> [board|black|close|lit]\n");
    return 2;
  }
  gMedia = argv[1];
  const std::string view = argc > 3 ? argv[3] : "board";
  const bool bench = view == "bench";
  const bool lit = view == "lit" || bench;

  IrrlichtDevice *device = createDevice(video::EDT_OPENGL, core::dimension2d<u32>(1024, 768), 32, false, true);
  if (!device)
    return 1;
  video::IVideoDriver *driver = device->getVideoDriver();
  scene::ISceneManager *smgr = device->getSceneManager();
  driver->setTextureCreationFlag(video::ETCF_ALWAYS_32_BIT, true);

  driver->setTextureCreationFlag(video::ETCF_CREATE_MIP_MAPS, false);
  video::ITexture *skyTop = driver->getTexture(MediaPath("sky_top.bmp").c_str());
  video::ITexture *skyBottom = driver->getTexture(MediaPath("sky_bottom.bmp").c_str());
  video::ITexture *skySide = driver->getTexture(MediaPath("sky_l_r_f_b.bmp").c_str());
  driver->setTextureCreationFlag(video::ETCF_CREATE_MIP_MAPS, true);
  smgr->addSkyBoxSceneNode(skyTop, skyBottom, skySide, skySide, skySide, skySide);

  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      const bool dark = (x + y) % 2 == 0;
      auto *node = AddNode(smgr, dark ? "chess_field_black.x" : "chess_field_white.x",
                           core::vector3df(10.f * x - 35, 0, 10.f * y - 35), core::vector3df(0, 0, 0),
                           core::vector3df(2.4f, 2.4f, 2.4f));
      if (node)
        node->setMaterialType(video::EMT_SOLID);
      // In the lit view, e2 and the squares in front of it are highlighted.
      if (lit && node && x == 4 && (y == 1 || y == 2 || y == 3))
        SetTexture(node, driver->getTexture(MediaPath(dark ? "field_dg_hi.jpg" : "field_lg_hi.jpg").c_str()));
    }

  struct SLabel {
    const char *mesh;
    bool dark;
    core::vector3df pos, rot;
  };
  const SLabel labels[4] = {{"chars.x", false, {-35, 0, -45}, {90, 0, 0}},
                            {"chars2.x", true, {35, 0, 45}, {90, 180, 0}},
                            {"numbers.x", false, {-45, 0, -35}, {90, 0, 0}},
                            {"numbers2.x", true, {45, 0, -35}, {90, 0, 0}}};
  for (int i = 0; i < 4; ++i) {
    auto *node = AddNode(smgr, labels[i].mesh, labels[i].pos, labels[i].rot, core::vector3df(6, 6, 6));
    const bool on = lit && (i == 0 || i == 2);
    const char *tex = on ? (labels[i].dark ? "nc_hi_dark.jpg" : "nc_hi_light.jpg")
                         : (labels[i].dark ? "nc_dark.jpg" : "nc_light.jpg");
    SetTexture(node, driver->getTexture(MediaPath(tex).c_str()));
  }

  const char *backRank[8] = {"rook.x", "knight.x", "bishop.x", "queen.x", "king.x", "bishop.x", "knight.x", "rook.x"};
  for (int side = 0; side < 2; ++side)
    for (int f = 0; f < 8; ++f)
      for (int row = 0; row < 2; ++row) {
        const bool black = side == 1;
        const int rank = black ? (row == 0 ? 7 : 6) : (row == 0 ? 0 : 1);
        const char *mesh = row == 0 ? backRank[f] : "pawn.x";
        const bool knight = std::strcmp(mesh, "knight.x") == 0;
        const float turn = knight ? (black ? 90.f : -90.f) : 0.f;
        auto *node = AddNode(smgr, mesh, core::vector3df(10.f * f - 35, 0, 10.f * rank - 35),
                             core::vector3df(0, turn, 0), core::vector3df(1, 1, 1));
        if (!node)
          continue;
        // In the lit view the white e-pawn is selected and the black king carries the marker.
        const bool hi = lit && !black && row == 1 && f == 4;
        const char *tex =
            black ? (hi ? "blacktoken_hi.bmp" : "blacktoken.bmp") : (hi ? "whitetoken_hi.bmp" : "whitetoken.bmp");
        SetTexture(node, driver->getTexture(MediaPath(tex).c_str()));
        node->setMaterialType(video::EMT_SOLID);
        if (lit) {
          // The volume comes from the piece's low-polygon companion, as in the game.
          std::string shadowName(mesh);
          shadowName.insert(shadowName.size() - 2, "_shadow");
          scene::IAnimatedMesh *shadowMesh = smgr->getMesh(MediaPath(shadowName.c_str()).c_str());
          node->addShadowVolumeSceneNode(shadowMesh ? shadowMesh->getMesh(0) : nullptr, -1, true, 10000.0f);
        }
        if (lit && black && row == 0 && f == 4) {
          auto *marker = AddNode(smgr, "x.x", core::vector3df(0, 16, 0), core::vector3df(0, 20, 0),
                                 core::vector3df(0.6f, 0.6f, 0.6f));
          if (marker) {
            marker->setParent(node);
            SetTexture(marker, driver->getTexture(MediaPath("x.jpg").c_str()));
          }
        }
      }
  smgr->setShadowColor(video::SColor(100, 0, 0, 0));

  core::vector3df camPos(35, 65, -75), camTarget(0, 0, 0), lightPos(20, 45, 0);
  if (view == "black") {
    camPos.set(-35, 65, 75);
    lightPos.set(-20, 45, 0);
  } else if (view == "close") {
    camPos.set(10, 22, -62);
    camTarget.set(0, 4, -30);
  }
  if (argc >= 10) {
    camPos.set(std::stof(argv[4]), std::stof(argv[5]), std::stof(argv[6]));
    camTarget.set(std::stof(argv[7]), std::stof(argv[8]), std::stof(argv[9]));
  }
  smgr->addCameraSceneNode(nullptr, camPos, camTarget);
  scene::ILightSceneNode *light =
      smgr->addLightSceneNode(nullptr, lightPos, video::SColorf(0.4f, 0.4f, 0.4f, 1.0f), 2000.0f);
  light->getLightData().AmbientColor = video::SColorf(0.004f, 0.004f, 0.004f);

  video::IImage *shot = driver->createImage(video::ECF_A8R8G8B8, core::dimension2d<u32>(1024, 768));
  const int frames = bench ? 60 : 3;
  const u32 start = device->getTimer()->getRealTime();
  for (int frame = 0; frame < frames && device->run(); ++frame) {
    driver->beginScene(true, true, video::SColor(255, 40, 40, 60));
    smgr->drawAll();
    if (frame == frames - 1) {
      // The front buffer is black under Xvfb, so read the back buffer before it is swapped.
      glReadPixels(0, 0, 1024, 768, GL_BGRA, GL_UNSIGNED_BYTE, shot->lock());
      shot->unlock();
    }
    driver->endScene();
  }
  if (bench)
    std::printf("%d frames in %u ms: %.1f fps\n", frames, device->getTimer()->getRealTime() - start,
                1000.0 * frames / (device->getTimer()->getRealTime() - start + 1));
  // OpenGL rows run bottom-up; flip into a picture.
  video::IImage *flipped = driver->createImage(video::ECF_A8R8G8B8, core::dimension2d<u32>(1024, 768));
  for (u32 y = 0; y < 768; ++y)
    for (u32 x = 0; x < 1024; ++x) {
      video::SColor c = shot->getPixel(x, 767 - y);
      c.setAlpha(255);
      flipped->setPixel(x, y, c);
    }
  const bool ok = driver->writeImageToFile(flipped, argv[2]);
  shot->drop();
  flipped->drop();
  device->drop();
  return ok ? 0 : 1;
}
