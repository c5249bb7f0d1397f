// The tray along one side of the board on which that side's captured pieces
// stand, smaller than on the board, in the order they were taken.
#pragma once

#include "app/KelvarTypes.h"

#include <irrlicht.h>

class CCaptureTray {
public:
  // A side loses at most fifteen pieces; each gets its own place.
  static constexpr irr::s32 SLOT_COUNT = 15;
  // Pieces on the tray are drawn at this fraction of their board size.
  static constexpr irr::f32 PIECE_SCALE = 0.6f;

  CCaptureTray() = default;
  CCaptureTray(const CCaptureTray &) = delete;
  CCaptureTray &operator=(const CCaptureTray &) = delete;

  // Makes the tray's board along the side of color (White: in front
  // of rank 1, Black: behind rank 8); false when its mesh cannot be loaded.
  bool Create(irr::s32 color, const char *meshPath);
  // Where the piece taken as number slot (0 = first) of this side stands:
  // from the owner's left to right. Slots past the last share the last place.
  irr::core::vector3df GetSlotPosition(irr::s32 slot) const { return SlotPosition(color, slot); }
  // Where a place of color's tray is in the world, the tray made or not.
  static irr::core::vector3df SlotPosition(irr::s32 color, irr::s32 slot);
  irr::scene::IAnimatedMeshSceneNode *GetNode() const { return node; }
  // Takes the texture and the fields' material of the board set in use.
  void ShowTheme();

private:
  irr::scene::IAnimatedMeshSceneNode *node = nullptr;
  irr::s32 color = White;
};
