#include "app/CCameraRig.h"

#include "app/CApplication.h"
#include "app/COrbitAnimator.h"
#include "platform/Platform.h"

#include <cmath>
#include <vector>

using namespace irr;

namespace {

const f32 ROTATE_SPEED = -150.f;
const f32 ZOOM_SPEED = 100.f;
const f32 TRANSLATE_SPEED = 150.f;

// The fixed views' directions from the board's centre; each view's distance
// is fitted to the window (FitDistance).
const core::vector3df WHITE_TOP(0, 100, -1); // one unit off the axis: a view straight
const core::vector3df BLACK_TOP(0, 100, 1);  // down would leave "up" undefined
const core::vector3df WHITE_SIDE(35, 65, -75);
const core::vector3df BLACK_SIDE(-35, 65, 75);
const f32 FIELD_OF_VIEW = core::PI / 3.f; // vertical; a narrower lens draws the set less distorted

// What a fixed view must show whole, as measured off the scene at rest: the
// corners of the board's squares and labels, of the tallest piece on each file
// of the back rank, and of the trays with captured pieces in them. Each is
// mirrored to all four sides of the board, so that the board stays in the
// middle of every view. The views depend on these alone, not on what stands
// where at the moment, so that a click computed for a view hits what it
// shows. (The clock, when shown, stands right of the board within the view.)
const core::vector3df SET_CORNERS[] = {{40, -1.8f, 59}, {40, 10, 57}, {50, -1.8f, 50}, {8, 17, 39},
                                       {18, 14, 39},    {28, 13, 39}, {38, 11, 39}};

// The window's edges the set keeps clear of: the menu bar at the top, the
// status line and the camera buttons at the bottom.
const f32 MARGIN_SIDE = 12.f, MARGIN_TOP = 34.f, MARGIN_BOTTOM = 52.f;

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
  camera->setFOV(FIELD_OF_VIEW);

  light = smgr->addLightSceneNode(smgr->getRootSceneNode(), core::vector3df(0, 0, 0),
                                  video::SColorf(0.4f, 0.4f, 0.4f, 1.0f), 2000.f, 0);
  smgr->setShadowColor(video::SColor(100, 0, 0, 0));
  if (light) {
    video::SColorf &ambient = light->getLightData().AmbientColor;
    ambient.r = ambient.g = ambient.b = 0.004f;
  }
  SetWhiteView(false);
  SetLightSide(White);
  gliding = false;
  return true;
}

void CCameraRig::Update() {
  if (gliding)
    StepGlide();
  camera->updateAbsolutePosition();
  if (light)
    light->updateAbsolutePosition();
}

void CCameraRig::SetWhiteView(bool top, bool glide) { PlaceCamera(top ? WHITE_TOP : WHITE_SIDE, glide); }

void CCameraRig::SetBlackView(bool top, bool glide) { PlaceCamera(top ? BLACK_TOP : BLACK_SIDE, glide); }

namespace {

// Distance, yaw (degrees about Y) and pitch (degrees above the horizontal)
// of an offset from the target.
void ToOrbit(const core::vector3df &offset, f32 &distance, f32 &yaw, f32 &pitch) {
  distance = offset.getLength();
  yaw = std::atan2(offset.X, offset.Z) * core::RADTODEG;
  pitch = std::atan2(offset.Y, std::sqrt(offset.X * offset.X + offset.Z * offset.Z)) * core::RADTODEG;
}

core::vector3df FromOrbit(f32 distance, f32 yaw, f32 pitch) {
  const f32 y = yaw * core::DEGTORAD, p = pitch * core::DEGTORAD;
  return core::vector3df(std::cos(p) * std::sin(y), std::sin(p), std::cos(p) * std::cos(y)) * distance;
}

} // namespace

f32 CCameraRig::FitDistance(const core::vector3df &direction) const {
  const core::dimension2du screen = app.driver ? app.driver->getScreenSize() : core::dimension2du(1024, 768);
  const f32 width = f32(screen.Width), height = f32(screen.Height);
  core::matrix4 projection;
  projection.buildProjectionMatrixPerspectiveFovLH(FIELD_OF_VIEW, width / height, camera->getNearValue(),
                                                   camera->getFarValue());
  std::vector<core::vector3df> corners;
  for (const core::vector3df &c : SET_CORNERS)
    for (f32 x : {-c.X, c.X})
      for (f32 z : {-c.Z, c.Z})
        corners.emplace_back(x, c.Y, z);
  const core::vector3df unit = core::vector3df(direction).normalize();
  // Whether every corner lies inside the window's free part from this distance.
  const auto fits = [&](f32 distance) {
    core::matrix4 view;
    view.buildCameraLookAtMatrixLH(unit * distance, core::vector3df(0, 0, 0), core::vector3df(0, 1, 0));
    const core::matrix4 transform = projection * view;
    for (const core::vector3df &corner : corners) {
      f32 v[4] = {corner.X, corner.Y, corner.Z, 1.f};
      transform.multiplyWith1x4Matrix(v);
      if (v[3] <= 0.f)
        return false;
      const f32 x = (v[0] / v[3] * 0.5f + 0.5f) * width, y = (0.5f - v[1] / v[3] * 0.5f) * height;
      if (x < MARGIN_SIDE || x > width - MARGIN_SIDE || y < MARGIN_TOP || y > height - MARGIN_BOTTOM)
        return false;
    }
    return true;
  };
  f32 nearer = 20.f, farther = 600.f;
  for (int i = 0; i < 30; ++i) {
    const f32 middle = (nearer + farther) / 2.f;
    (fits(middle) ? farther : nearer) = middle;
  }
  return farther;
}

void CCameraRig::PlaceCamera(const core::vector3df &direction, bool glide) {
  GlideTo(core::vector3df(direction).normalize() * FitDistance(direction), core::vector3df(0, 0, 0));
  if (!glide)
    FinishGlide();
}

void CCameraRig::GlideTo(const core::vector3df &position, const core::vector3df &target) {
  fromTarget = camera->getTarget();
  toTarget = target;
  ToOrbit(camera->getPosition() - fromTarget, fromDistance, fromYaw, fromPitch);
  ToOrbit(position - target, toDistance, toYaw, toPitch);
  // The shorter way round.
  if (toYaw - fromYaw > 180.f)
    toYaw -= 360.f;
  else if (fromYaw - toYaw > 180.f)
    toYaw += 360.f;
  glideStart = platform::GetTickCount();
  gliding = true;
}

void CCameraRig::StepGlide() {
  const u32 elapsed = platform::GetTickCount() - glideStart;
  const f32 t = core::clamp(f32(elapsed) / GLIDE_MS, 0.f, 1.f);
  const f32 eased = t * t * (3.f - 2.f * t); // slow at both ends
  const core::vector3df target = fromTarget + (toTarget - fromTarget) * eased;
  const core::vector3df offset =
      FromOrbit(fromDistance + (toDistance - fromDistance) * eased, fromYaw + (toYaw - fromYaw) * eased,
                fromPitch + (toPitch - fromPitch) * eased);
  camera->setTarget(target);
  camera->updateAbsolutePosition();
  camera->setPosition(target + offset);
  camera->updateAbsolutePosition();
  gliding = t < 1.f;
}

void CCameraRig::FinishGlide() {
  if (!gliding)
    return;
  glideStart = platform::GetTickCount() - GLIDE_MS;
  StepGlide();
}

void CCameraRig::Zoom(f32 steps) {
  // A zoom during a glide goes on from where the glide was going.
  const core::vector3df target = gliding ? toTarget : camera->getTarget();
  const core::vector3df position = gliding ? toTarget + FromOrbit(toDistance, toYaw, toPitch) : camera->getPosition();
  const core::vector3df offset = position - target;
  const f32 distance = offset.getLength();
  if (distance <= 0.f)
    return;
  const f32 wanted = core::clamp(distance * std::pow(ZOOM_STEP, steps), NEAR_DISTANCE, FAR_DISTANCE);
  GlideTo(target + offset * (wanted / distance), target);
}

// The light stands on the human's side of the board (any non-white colour is black).
void CCameraRig::SetLightSide(s32 color) {
  if (light)
    light->setPosition(color == White ? WHITE_LIGHT : BLACK_LIGHT);
}

void CCameraRig::FaceSide(s32 color) {
  if (color == Black)
    SetBlackView(false, true);
  else
    SetWhiteView(false, true);
  SetLightSide(color);
}
