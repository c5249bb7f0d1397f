#include "app/CCameraRig.h"

#include "app/CApplication.h"
#include "app/COrbitAnimator.h"

using namespace irr;

namespace {

const f32 ROTATE_SPEED = -150.f;
const f32 ZOOM_SPEED = 100.f;
const f32 TRANSLATE_SPEED = 150.f;

const core::vector3df WHITE_TOP(0, 100, -1); // one unit off the axis: a view straight
const core::vector3df BLACK_TOP(0, 100, 1);  // down would leave "up" undefined
const core::vector3df WHITE_SIDE(35, 65, -75);
const core::vector3df BLACK_SIDE(-35, 65, 75);

const core::vector3df WHITE_LIGHT(20, 45, 0);
const core::vector3df BLACK_LIGHT(-20, 45, 0);

} // namespace

bool CCameraRig::Init() {
  scene::ISceneManager *smgr = app.sceneManager;
  camera = smgr->addCameraSceneNodeMaya(smgr->getRootSceneNode(), ROTATE_SPEED, ZOOM_SPEED, TRANSLATE_SPEED, 0);
  if (!camera)
    return false;
  // Irrlicht's own orbit animator recomputes the position every frame from
  // its private angles and ignores setPosition, so the fixed viewpoints would
  // do nothing. Ours does the same mouse work but starts from the camera.
  camera->removeAnimators();
  scene::ISceneNodeAnimator *orbit =
      new COrbitAnimator(app.device->getCursorControl(), ROTATE_SPEED, ZOOM_SPEED, TRANSLATE_SPEED);
  camera->addAnimator(orbit);
  orbit->drop();
  camera->setFOV(core::PI / 2.f);

  light = smgr->addLightSceneNode(smgr->getRootSceneNode(), core::vector3df(0, 0, 0),
                                  video::SColorf(0.4f, 0.4f, 0.4f, 1.0f), 2000.f, 0);
  smgr->setShadowColor(video::SColor(100, 0, 0, 0));
  if (light) {
    video::SColorf &ambient = light->getLightData().AmbientColor;
    ambient.r = ambient.g = ambient.b = 0.004f;
  }
  SetWhiteView(false);
  SetLightSide(White);
  return true;
}

void CCameraRig::Update() {
  camera->updateAbsolutePosition();
  if (light)
    light->updateAbsolutePosition();
}

void CCameraRig::SetWhiteView(bool top) { PlaceCamera(top ? WHITE_TOP : WHITE_SIDE); }

void CCameraRig::SetBlackView(bool top) { PlaceCamera(top ? BLACK_TOP : BLACK_SIDE); }

void CCameraRig::PlaceCamera(const core::vector3df &position) {
  camera->setTarget(core::vector3df(0, 0, 0));
  camera->updateAbsolutePosition();
  camera->setPosition(position);
  camera->updateAbsolutePosition();
}

// The light stands on the human's side of the board (any non-white colour is black).
void CCameraRig::SetLightSide(s32 color) {
  if (light)
    light->setPosition(color == White ? WHITE_LIGHT : BLACK_LIGHT);
}

void CCameraRig::FaceSide(s32 color) {
  if (color == Black)
    SetBlackView(false);
  else
    SetWhiteView(false);
  SetLightSide(color);
}
