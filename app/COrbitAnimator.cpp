#include "app/COrbitAnimator.h"

#include <cmath>

using namespace irr;

namespace {

const f32 MIN_DISTANCE = 5.f;
const f32 MAX_PITCH = 89.f; // keeps the view from flipping over the pole

// Position on a sphere around target, yaw about Y and pitch above the plane.
core::vector3df OrbitPosition(const core::vector3df &target, f32 distance, f32 yaw, f32 pitch) {
  const f32 y = yaw * core::DEGTORAD, p = pitch * core::DEGTORAD;
  return target + core::vector3df(std::cos(p) * std::sin(y), std::sin(p), std::cos(p) * std::cos(y)) * distance;
}

} // namespace

COrbitAnimator::COrbitAnimator(gui::ICursorControl *cursor, f32 rotateSpeed, f32 zoomSpeed, f32 translateSpeed)
    : cursor(cursor), rotateSpeed(rotateSpeed), zoomSpeed(zoomSpeed), translateSpeed(translateSpeed) {}

bool COrbitAnimator::OnEvent(const SEvent &event) {
  if (event.EventType != EET_MOUSE_INPUT_EVENT)
    return false;
  switch (event.MouseInput.Event) {
  case EMIE_LMOUSE_PRESSED_DOWN:
    buttons[0] = true;
    break;
  case EMIE_MMOUSE_PRESSED_DOWN:
    buttons[1] = true;
    break;
  case EMIE_RMOUSE_PRESSED_DOWN:
    buttons[2] = true;
    break;
  case EMIE_LMOUSE_LEFT_UP:
    buttons[0] = false;
    break;
  case EMIE_MMOUSE_LEFT_UP:
    buttons[1] = false;
    break;
  case EMIE_RMOUSE_LEFT_UP:
    buttons[2] = false;
    break;
  case EMIE_MOUSE_MOVED:
    break;
  default:
    return false;
  }
  if (cursor)
    mouse = cursor->getRelativePosition();
  if (event.MouseInput.Event != EMIE_MOUSE_MOVED) {
    // The drag measures from where the button went down, even if the mouse
    // moves before the next frame.
    pressPosition = mouse;
    buttonsChanged = true;
  }
  return false; // others may want the same event
}

COrbitAnimator::Drag COrbitAnimator::CurrentDrag() const {
  if (buttons[1] || (buttons[0] && buttons[2]))
    return Drag::Zoom;
  if (buttons[0])
    return Drag::Rotate;
  if (buttons[2])
    return Drag::Translate;
  return Drag::None;
}

// Reads the camera's current position and target as the start of a drag.
void COrbitAnimator::BeginDrag(scene::ICameraSceneNode *camera, Drag newDrag) {
  drag = newDrag;
  dragStart = buttonsChanged ? pressPosition : mouse;
  buttonsChanged = false;
  startTarget = camera->getTarget();
  const core::vector3df offset = camera->getPosition() - startTarget;
  startDistance = core::max_(offset.getLength(), MIN_DISTANCE);
  startYaw = std::atan2(offset.X, offset.Z) * core::RADTODEG;
  const f32 horizontal = std::sqrt(offset.X * offset.X + offset.Z * offset.Z);
  startPitch = std::atan2(offset.Y, horizontal) * core::RADTODEG;
  lastPosition = camera->getPosition();
}

void COrbitAnimator::animateNode(scene::ISceneNode *node, u32) {
  if (!node || node->getType() != scene::ESNT_CAMERA)
    return;
  auto *camera = static_cast<scene::ICameraSceneNode *>(node);
  const Drag wanted = CurrentDrag();
  if (wanted == Drag::None) {
    drag = Drag::None;
    return; // between drags the camera stays where it was put
  }
  // A new drag, another button combination, or a viewpoint set from outside
  // during the drag: continue from the camera as it stands now.
  if (wanted != drag || buttonsChanged || camera->getPosition() != lastPosition)
    BeginDrag(camera, wanted);

  const f32 dx = dragStart.X - mouse.X, dy = dragStart.Y - mouse.Y;
  f32 distance = startDistance, yaw = startYaw, pitch = startPitch;
  core::vector3df target = startTarget;
  switch (drag) {
  case Drag::Rotate:
    yaw += dx * rotateSpeed;
    pitch = core::clamp(pitch - dy * rotateSpeed, -MAX_PITCH, MAX_PITCH);
    break;
  case Drag::Zoom:
    distance = core::max_(distance + dx * zoomSpeed, MIN_DISTANCE);
    break;
  case Drag::Translate: {
    // Move the target in the view plane: right and up as the camera sees them.
    const core::vector3df forward = (startTarget - OrbitPosition(startTarget, distance, yaw, pitch)).normalize();
    core::vector3df right = core::vector3df(0, 1, 0).crossProduct(forward).normalize();
    const core::vector3df up = forward.crossProduct(right).normalize();
    target += right * (dx * translateSpeed) - up * (dy * translateSpeed);
    break;
  }
  case Drag::None:
    break;
  }
  const core::vector3df position = OrbitPosition(target, distance, yaw, pitch);
  camera->setPosition(position);
  camera->setTarget(target);
  lastPosition = position;
}

scene::ISceneNodeAnimator *COrbitAnimator::createClone(scene::ISceneNode *, scene::ISceneManager *) {
  return new COrbitAnimator(cursor, rotateSpeed, zoomSpeed, translateSpeed);
}
