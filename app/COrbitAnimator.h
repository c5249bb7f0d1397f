// Mouse control of the camera around its target: left drag turns, right drag
// moves, middle drag (or both buttons) zooms. Unlike Irrlicht's own orbit
// camera it keeps no position of its own between drags: every drag starts
// from wherever the camera stands, so fixed viewpoints set from outside stay.
#pragma once

#include <irrlicht.h>

class COrbitAnimator : public irr::scene::ISceneNodeAnimator {
public:
  COrbitAnimator(irr::gui::ICursorControl *cursor, irr::f32 rotateSpeed, irr::f32 zoomSpeed, irr::f32 translateSpeed);

  void animateNode(irr::scene::ISceneNode *node, irr::u32 timeMs) override;
  irr::scene::ISceneNodeAnimator *createClone(irr::scene::ISceneNode *node,
                                              irr::scene::ISceneManager *newManager = 0) override;
  bool isEventReceiverEnabled() const override { return true; }
  bool OnEvent(const irr::SEvent &event) override;
  irr::scene::ESCENE_NODE_ANIMATOR_TYPE getType() const override { return irr::scene::ESNAT_CAMERA_MAYA; }

private:
  enum class Drag { None, Rotate, Zoom, Translate };

  Drag CurrentDrag() const;
  void BeginDrag(irr::scene::ICameraSceneNode *camera, Drag drag);

  irr::gui::ICursorControl *cursor;
  irr::f32 rotateSpeed;
  irr::f32 zoomSpeed;
  irr::f32 translateSpeed;

  bool buttons[3] = {false, false, false}; // left, middle, right
  irr::core::position2df mouse;
  irr::core::position2df pressPosition; // the pointer at the last button change
  bool buttonsChanged = false;

  // What the camera looked like when the current drag began.
  Drag drag = Drag::None;
  irr::core::position2df dragStart;
  irr::core::vector3df startTarget;
  irr::f32 startDistance = 0;
  irr::f32 startYaw = 0;             // degrees about Y, of the camera seen from the target
  irr::f32 startPitch = 0;           // degrees above the target's horizontal plane
  irr::core::vector3df lastPosition; // where this animator last put the camera
};
