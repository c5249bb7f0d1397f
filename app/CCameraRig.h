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

  // Where a fixed view places the camera for the window's size, and the share
  // of the window's width the board then spans.
  struct Framing {
    irr::core::vector3df position, target;
    irr::f32 share = 0.f;
    irr::f32 boardMiddle = 0.f; // the board's middle across the window, in pixels
  };
  Framing GetViewFraming(bool white, bool top) const;
  // The pixels at the window's left and right edges that windows beside the
  // board take (the review's evaluation bar and window); the fixed views
  // frame the set in the rest, the board in its middle. A camera standing at
  // a fixed view glides to it refitted; one the player moved stays.
  void SetSideRoom(irr::s32 left, irr::s32 right);
  // The same for the pixels at the window's top that the interface takes
  // under the menu bar (the game-over banner); 0 gives them back.
  void SetTopRoom(irr::s32 top);
  // The window has a new size: a camera standing at a fixed view moves at
  // once to the view fitted to it; one the player moved stays.
  void OnWindowResized();
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
  // A side view from behind a player (yaw about Y, degrees) at the steepest
  // pitch that frames the board large enough.
  Framing FitSideView(irr::f32 yaw) const;
  // The view along the direction, aimed at the point between the board's
  // centre and the viewer that lets the board span the most of the window
  // with the whole set, trays and clock inside it.
  Framing FitAim(const irr::core::vector3df &direction) const;
  // The distance that just shows the whole set from the direction (a unit
  // vector) aimed at the target, and the board's share of the width from there.
  // Also sets the framing's share and board middle.
  irr::f32 FitDistance(const irr::core::vector3df &unit, const irr::core::vector3df &target, Framing &framing) const;
  irr::core::dimension2du ScreenSize() const;
  // Where the camera stands, or where its glide is taking it.
  void GetDestination(irr::core::vector3df &position, irr::core::vector3df &target) const;
  bool IsAtPlacedView() const;
  void PlaceCamera(const Framing &framing, bool glide);
  void GlideTo(const irr::core::vector3df &position, const irr::core::vector3df &target);
  void StepGlide();

  irr::scene::ICameraSceneNode *camera = nullptr;
  irr::scene::ILightSceneNode *light = nullptr;
  irr::s32 roomLeft = 0, roomRight = 0, roomTop = 0;
  // The fixed view last placed, and where it put the camera.
  bool placedWhite = true, placedTop = false;
  Framing placed;
  // The glide: from where the camera stood to where it goes, as seen from
  // the target (distance, yaw and pitch), so that it swings round the board.
  bool gliding = false;
  irr::u32 glideStart = 0;
  irr::core::vector3df fromTarget, toTarget;
  irr::f32 fromDistance = 0, toDistance = 0, fromYaw = 0, toYaw = 0, fromPitch = 0, toPitch = 0;
};
