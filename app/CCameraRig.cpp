#include "app/CCameraRig.h"

#include "app/CApplication.h"
#include "app/COrbitAnimator.h"
#include "platform/Platform.h"
#include "scene/CChessClockModel.h"

#include <algorithm>
#include <cmath>
#include <vector>

using namespace irr;

namespace {

const f32 ROTATE_SPEED = -150.f;
const f32 ZOOM_SPEED = 100.f;
const f32 TRANSLATE_SPEED = 150.f;

// The fixed views. A top view looks straight down from behind a side (one
// unit off the axis: a view straight down would leave "up" undefined). A side
// view looks from behind a player, turned YAW_OFF_AXIS towards the a-file
// (White's left, Black's right), the side away from the clock: the clock
// stands at the far side of the picture and takes none of its width, and
// each second-rank piece shows beside the back-rank piece in front of it.
// Each view's distance, and the point it aims at, are fitted to the window
// (FitSideView, FitAim).
const core::vector3df WHITE_TOP(0, 100, -1);
const core::vector3df BLACK_TOP(0, 100, 1);
const f32 YAW_OFF_AXIS = 15.f;
const f32 WHITE_SIDE_YAW = -180.f + YAW_OFF_AXIS; // behind White, at negative Z
const f32 BLACK_SIDE_YAW = -YAW_OFF_AXIS;
// A side view's pitches, steepest first: the steepest that lets the board
// span SHARE_GOAL of the window's width is taken. A wide window needs the
// lower ones, as the set's depth then limits the picture.
const f32 SIDE_PITCHES[] = {38.f, 35.f, 32.f};
const f32 SHARE_GOAL = 0.67f;
// How far the aim may move from the board's centre towards the viewer's
// side: a view from above the side draws the near half larger than the far
// one, and aiming nearer shares the window's height out between them.
const f32 AIM_SHIFT_MAX = 40.f, AIM_SHIFT_STEP = 2.f;
// Fits that move the aim sideways until the board stands in the middle of a
// free part of the window off its middle; each pass corrects the last one's
// miss, measured in pixels and turned into world units at the board's scale.
const int CENTRING_PASSES = 4;
const f32 FIELD_OF_VIEW = core::PI / 4.f; // vertical; a narrower lens draws the set less distorted

// What a fixed view must show whole, as measured off the scene at rest: the
// corners of the board's squares and labels, of the tallest piece on each file
// of the back rank, and of the trays with captured pieces in them, each
// mirrored to all four sides of the board; and the clock's place on the
// table, shown or not. The views depend on these alone, not on what stands
// where at the moment, so that a click computed for a view hits what it
// shows.
const core::vector3df SET_CORNERS[] = {{40, -1.8f, 59}, {40, 10, 57}, {50, -1.8f, 50}, {50, 0, 50},
                                       {8, 17, 39},     {18, 14, 39}, {28, 13, 39},    {38, 11, 39}};
const f32 BOARD_HALF = 40.f; // the squares' outer edge

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

void CCameraRig::SetWhiteView(bool top, bool glide) {
  placedWhite = true;
  placedTop = top;
  PlaceCamera(GetViewFraming(true, top), glide);
}

void CCameraRig::SetBlackView(bool top, bool glide) {
  placedWhite = false;
  placedTop = top;
  PlaceCamera(GetViewFraming(false, top), glide);
}

void CCameraRig::SetSideRoom(s32 left, s32 right) {
  if (left == roomLeft && right == roomRight)
    return;
  const bool refit = IsAtPlacedView();
  roomLeft = left;
  roomRight = right;
  if (refit)
    PlaceCamera(GetViewFraming(placedWhite, placedTop), true);
}

void CCameraRig::SetTopRoom(s32 top) {
  if (top == roomTop)
    return;
  const bool refit = camera && IsAtPlacedView();
  roomTop = top;
  if (refit)
    PlaceCamera(GetViewFraming(placedWhite, placedTop), true);
}

void CCameraRig::OnWindowResized() {
  if (IsAtPlacedView())
    PlaceCamera(GetViewFraming(placedWhite, placedTop), false);
}

// Only a camera standing at (or gliding to) the view last placed is refitted:
// one the player turned, moved or zoomed stays where the player put it.
void CCameraRig::GetDestination(core::vector3df &position, core::vector3df &target) const {
  position = gliding ? toTarget + FromOrbit(toDistance, toYaw, toPitch) : camera->getPosition();
  target = gliding ? toTarget : camera->getTarget();
}

bool CCameraRig::IsAtPlacedView() const {
  core::vector3df position, target;
  GetDestination(position, target);
  return position.equals(placed.position, 0.01f) && target.equals(placed.target, 0.01f);
}

CCameraRig::Framing CCameraRig::GetViewFraming(bool white, bool top) const {
  if (top)
    return FitAim(white ? WHITE_TOP : BLACK_TOP);
  return FitSideView(white ? WHITE_SIDE_YAW : BLACK_SIDE_YAW);
}

CCameraRig::Framing CCameraRig::FitSideView(f32 yaw) const {
  Framing best;
  for (f32 pitch : SIDE_PITCHES) {
    const Framing framing = FitAim(FromOrbit(1.f, yaw, pitch));
    if (framing.share >= SHARE_GOAL)
      return framing;
    if (framing.share > best.share)
      best = framing;
  }
  return best;
}

CCameraRig::Framing CCameraRig::FitAim(const core::vector3df &direction) const {
  const core::vector3df unit = core::vector3df(direction).normalize();
  // Along the line between the players, so that the board stays in the
  // middle of the window's width.
  const core::vector3df towardsViewer(0.f, 0.f, unit.Z < 0.f ? -1.f : 1.f);
  // Across the picture, for a free part of the window off its middle (a
  // window at one edge): aiming further right moves the board left.
  const core::vector3df across = core::vector3df(0, 1, 0).crossProduct(-unit).normalize();
  const f32 width = f32(ScreenSize().Width);
  const f32 freeMiddle = (f32(roomLeft) + width - f32(roomRight)) / 2.f;
  Framing best;
  f32 sideways = 0.f;
  for (int pass = 0; pass < (roomLeft == roomRight && roomTop == 0 ? 1 : CENTRING_PASSES); ++pass) {
    best = Framing();
    for (f32 shift = 0.f; shift <= AIM_SHIFT_MAX; shift += AIM_SHIFT_STEP) {
      Framing framing;
      framing.target = towardsViewer * shift + across * sideways;
      const f32 distance = FitDistance(unit, framing.target, framing);
      framing.position = framing.target + unit * distance;
      if (framing.share > best.share)
        best = framing;
    }
    // The board's pixels a world unit, near enough, turn the miss into an aim.
    if (best.share > 0.f)
      sideways += (best.boardMiddle - freeMiddle) * 2.f * BOARD_HALF / (best.share * width);
  }
  return best;
}

core::dimension2du CCameraRig::ScreenSize() const {
  return app.driver ? app.driver->getScreenSize() : core::dimension2du(1024, 768);
}

f32 CCameraRig::FitDistance(const core::vector3df &unit, const core::vector3df &target, Framing &framing) const {
  const core::dimension2du screen = ScreenSize();
  const f32 width = f32(screen.Width), height = f32(screen.Height);
  const f32 leftEdge = MARGIN_SIDE + f32(roomLeft), rightEdge = width - MARGIN_SIDE - f32(roomRight);
  const f32 topEdge = std::max(MARGIN_TOP, f32(roomTop));
  core::matrix4 projection;
  projection.buildProjectionMatrixPerspectiveFovLH(FIELD_OF_VIEW, width / height, camera->getNearValue(),
                                                   camera->getFarValue());
  std::vector<core::vector3df> corners;
  for (const core::vector3df &c : SET_CORNERS)
    for (f32 x : {-c.X, c.X})
      for (f32 z : {-c.Z, c.Z})
        corners.emplace_back(x, c.Y, z);
  core::vector3df clock[8];
  CChessClockModel::TableBox().getEdges(clock);
  corners.insert(corners.end(), clock, clock + 8);
  // The window pixel of a point seen from the distance; false behind the camera.
  const auto project = [&](f32 distance, const core::vector3df &point, f32 &x, f32 &y) {
    core::matrix4 view;
    view.buildCameraLookAtMatrixLH(target + unit * distance, target, core::vector3df(0, 1, 0));
    const core::matrix4 transform = projection * view;
    f32 v[4] = {point.X, point.Y, point.Z, 1.f};
    transform.multiplyWith1x4Matrix(v);
    if (v[3] <= 0.f)
      return false;
    x = (v[0] / v[3] * 0.5f + 0.5f) * width;
    y = (0.5f - v[1] / v[3] * 0.5f) * height;
    return true;
  };
  // Whether every corner lies inside the window's free part from this distance.
  const auto fits = [&](f32 distance) {
    f32 x, y;
    for (const core::vector3df &corner : corners)
      if (!project(distance, corner, x, y) || x < leftEdge || x > rightEdge || y < topEdge ||
          y > height - MARGIN_BOTTOM)
        return false;
    return true;
  };
  f32 nearer = 20.f, farther = 600.f;
  for (int i = 0; i < 30; ++i) {
    const f32 middle = (nearer + farther) / 2.f;
    (fits(middle) ? farther : nearer) = middle;
  }
  f32 left = width, right = 0.f, x, y;
  for (f32 bx : {-BOARD_HALF, BOARD_HALF})
    for (f32 bz : {-BOARD_HALF, BOARD_HALF})
      if (project(farther, core::vector3df(bx, 0, bz), x, y)) {
        left = std::min(left, x);
        right = std::max(right, x);
      }
  framing.share = right > left ? (right - left) / width : 0.f;
  framing.boardMiddle = (left + right) / 2.f;
  return farther;
}

void CCameraRig::PlaceCamera(const Framing &framing, bool glide) {
  placed = framing;
  GlideTo(framing.position, framing.target);
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
  core::vector3df position, target;
  GetDestination(position, target);
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
