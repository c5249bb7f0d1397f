// One chess piece as the scene shows it: the scene nodes of a piece, its kind
// and colour as drawn, the square it stands on and whether it has been taken.
// The position itself lives in the chess core; the board places its tokens
// from there after every move. A token without nodes (no scene) only keeps
// those values.
#pragma once

#include "app/KelvarTypes.h"

#include <irrlicht.h>

#include <string>

// The path of a piece mesh's low-polygon shadow companion:
// "./media/pawn.x" -> "./media/pawn_shadow.x".
std::string ShadowMeshPath(const char *meshPath);

// The mesh file of a piece kind ("./media/queen.x"), and the texture of a
// colour's pieces in the board set in use ("./media/whitetoken.bmp" in the
// wooden set), plain or highlighted.
const char *TokenMeshPath(irr::s32 type);
const char *TokenTexturePath(irr::s32 color, bool highlighted = false);

class CGameToken {
public:
  CGameToken();
  ~CGameToken();
  CGameToken(const CGameToken &) = delete;
  CGameToken &operator=(const CGameToken &) = delete;

  // Loads the mesh and makes the piece's node, texture and hidden shadow.
  // False when the mesh or its node cannot be made; colour and type stay set.
  bool Create(irr::s32 color, irr::s32 type, const char *meshPath, const char *texturePath);
  bool SetColorAndType(irr::s32 color, irr::s32 type);
  // Gives the token another kind. A token on screen gets that kind's mesh in
  // place of its own, on its square and with its shadow as it was.
  void ChangeType(irr::s32 type);
  void SetShadowVisible(bool visible);
  void SetRotationY(irr::f32 degrees);
  // Removes the mesh node (and with it marker and shadow) from the scene.
  void DiscardNode();
  // Back to the start of a game: home square, no highlight, marker or capture.
  void Reset();
  void SetHighlight(bool on);
  bool IsHighlighted() const { return highlighted; }
  // Takes the texture, plain or highlighted as it is, and the pieces'
  // material from the board set in use.
  void ShowTheme();
  void PlaceNodeAt(const irr::core::vector3df &position);
  void SetHomeSquare(irr::s32 x, irr::s32 y);
  BoardSquare GetHomeSquare() const { return homeSquare; }
  void SetSquare(const BoardSquare &s);
  BoardSquare GetSquare() const;
  // Entry animation: falls from 70 units above onto its square.
  void DropIn();
  void Capture();
  bool IsOnSquare(const BoardSquare &s) const;
  bool OwnsNode(const irr::scene::ISceneNode *node) const;
  irr::s32 GetType() const;
  irr::s32 GetColor() const;
  irr::core::vector3df GetWorldPosition() const;
  bool IsCaptured() const;
  void SetCaptured(bool c);
  void SetMarker(bool on);

  irr::scene::IAnimatedMeshSceneNode *GetMeshNode() const { return meshNode; }
  irr::scene::IAnimatedMeshSceneNode *GetMarkerNode() const { return markerNode; }
  irr::scene::IShadowVolumeSceneNode *GetShadowNode() const { return shadowNode; }

private:
  irr::scene::IAnimatedMeshSceneNode *meshNode = nullptr;
  irr::scene::IAnimatedMeshSceneNode *markerNode = nullptr;
  irr::scene::IShadowVolumeSceneNode *shadowNode = nullptr;
  irr::s32 type = Pawn;
  irr::s32 color = White;
  BoardSquare square;
  BoardSquare homeSquare;
  bool captured = false;
  bool highlighted = false;
};
