// One board square: a mesh node that can switch to a highlight texture.
#pragma once

#include "app/KelvarTypes.h"

#include <irrlicht.h>

class CGameField {
public:
  CGameField() = default;
  ~CGameField();
  CGameField(const CGameField &) = delete;
  CGameField &operator=(const CGameField &) = delete;

  // Loads the mesh and makes the square's node; false if either fails.
  bool Create(bool dark, const char *meshPath);
  void SetPosition(const irr::core::vector3df &position);
  irr::core::vector3df GetWorldPosition() const;
  void SetSquare(irr::s32 x, irr::s32 y) { square = BoardSquare(x, y); }
  BoardSquare GetSquare() const { return square; }
  // Switches between the normal and the highlight texture; no-op when unchanged.
  void SetHighlight(bool on);
  bool IsHighlighted() const { return highlighted; }
  // The last move's tint; a highlight shows over it.
  void SetLastMoveTint(bool on);
  bool IsLastMoveTinted() const { return lastMoveTint; }
  bool IsDark() const { return dark != 0; }
  // Takes the texture of its state and the material from the board set in use.
  void ShowTheme();
  // Entry animation: falls from 60 units above onto its place.
  void DropIn();
  irr::scene::IAnimatedMeshSceneNode *GetNode() const { return node; }

private:
  irr::scene::IAnimatedMeshSceneNode *node = nullptr;
  irr::s32 dark = 0;
  BoardSquare square;
  bool highlighted = false;
  bool lastMoveTint = false;

  void ShowTexture();
};
