// The scene's only camera, mouse-driven around the board, with four fixed
// viewpoints it glides to, a zoom by the wheel or the +/- keys, and the only
// light, moved to the human's side.
#pragma once

#include <irrlicht.h>

class COrbitAnimator;

class CCameraRig {
public:
  bool Init();
  void Update();
  void Exit() {}
  // The fixed viewpoints: at once, or gliding there (a camera button).
  void SetWhiteView(bool top, bool glide = false);
  void SetBlackView(bool top, bool glide = false);
  void SetLightSide(irr::s32 color);
  // The side view behind the color, glided to, and the light on that side.
  void FaceSide(irr::s32 color);
  irr::scene::ICameraSceneNode *GetCamera() const { return camera; }
  irr::scene::ILightSceneNode *GetLight() const { return light; }

  // Zooms towards the point looked at (steps > 0) or away from it, one
  // wheel notch a step, between NEAR_DISTANCE and FAR_DISTANCE; gliding.
  void Zoom(irr::f32 steps);
  // A view change or zoom under way: the camera moves each frame until it ends.
  bool IsGliding() const { return gliding; }
  // Ends a glide at once, the camera where it was going.
  void FinishGlide();

  static constexpr irr::u32 GLIDE_MS = 500;
  static constexpr irr::f32 NEAR_DISTANCE = 50.f; // the nearest pieces still whole
  static constexpr irr::f32 FAR_DISTANCE = 260.f; // the whole set, trays and clock, small
  static constexpr irr::f32 ZOOM_STEP = 0.88f;    // the distance's factor per notch

private:
  // Looks at the board's centre from the direction, at the distance that
  // shows the whole set in the window.
  void PlaceCamera(const irr::core::vector3df &direction, bool glide);
  irr::f32 FitDistance(const irr::core::vector3df &direction) const;
  void GlideTo(const irr::core::vector3df &position, const irr::core::vector3df &target);
  void StepGlide();

  irr::scene::ICameraSceneNode *camera = nullptr;
  irr::scene::ILightSceneNode *light = nullptr;
  // The glide: from where the camera stood to where it goes, as seen from
  // the target (distance, yaw and pitch), so that it swings round the board.
  bool gliding = false;
  irr::u32 glideStart = 0;
  irr::core::vector3df fromTarget, toTarget;
  irr::f32 fromDistance = 0, toDistance = 0, fromYaw = 0, toYaw = 0, fromPitch = 0, toPitch = 0;
};
