// The scene's only camera, mouse-driven around the board, with four fixed
// viewpoints, and the only light, moved to the human's side.
#pragma once

#include <irrlicht.h>

class COrbitAnimator;

class CCameraRig {
public:
  bool Init();
  void Update();
  void Exit() {}
  void SetWhiteView(bool top);
  void SetBlackView(bool top);
  void SetLightSide(irr::s32 color);
  // The side view behind the color, and the light on that side.
  void FaceSide(irr::s32 color);
  irr::scene::ICameraSceneNode *GetCamera() const { return camera; }
  irr::scene::ILightSceneNode *GetLight() const { return light; }

private:
  void PlaceCamera(const irr::core::vector3df &position);

  irr::scene::ICameraSceneNode *camera = nullptr;
  irr::scene::ILightSceneNode *light = nullptr;
};
