// One strip of board labels (file letters or rank digits) beside the board.
#pragma once

#include <irrlicht.h>

class CGameLabel {
public:
  CGameLabel() = default;
  ~CGameLabel();
  CGameLabel(const CGameLabel &) = delete;
  CGameLabel &operator=(const CGameLabel &) = delete;

  // Loads the strip's mesh and shows its normal texture; false if it fails.
  bool Create(bool dark, const char *meshPath);
  // Applies the normal or highlight texture, also when the value is unchanged.
  void SetHighlight(bool on);
  bool IsHighlighted() const { return highlighted; }
  // Takes its texture, plain or highlighted as it is, from the board set in use.
  void ShowTheme() { SetHighlight(highlighted); }
  void SetPosition(const irr::core::vector3df &position);
  void SetRotation(const irr::core::vector3df &degrees);
  // Entry animation: falls from 60 units above onto its place.
  void DropIn();
  irr::scene::IAnimatedMeshSceneNode *GetNode() const { return node; }

private:
  irr::scene::IAnimatedMeshSceneNode *node = nullptr;
  bool highlighted = false;
  irr::s32 dark = 0;
};
