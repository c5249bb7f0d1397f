#include "scene/CGameToken.h"

#include "app/CApplication.h"
#include "scene/SceneHelpers.h"

#include <cstdlib>
#include <string>

using irr::core::vector3df;

namespace {

const char *const MARKER_MESH = "./media/x.x";
const char *const MARKER_TEXTURE = "./media/x.jpg";

const irr::f32 SHADOW_INFINITY = 10000.f;
const irr::f32 MARKER_SCALE = 0.6f;
const irr::f32 MARKER_HEIGHT = 16.f;
const vector3df MARKER_SPIN(0, 1, 0);
const irr::f32 DROP_HEIGHT = 70.f;
const irr::u32 DROP_BASE_MS = 1800;
const int DROP_SPREAD_MS = 400;

// The piece's low-polygon shadow mesh, or null (the volume then uses the
// node's own mesh) when there is no such file or it does not load.
const irr::scene::IMesh *LoadShadowMesh(irr::scene::ISceneManager *scene, const char *meshPath) {
  const std::string path = ShadowMeshPath(meshPath);
  // Asking first keeps a missing companion out of the error log.
  if (!app.device || !app.device->getFileSystem()->existFile(path.c_str()))
    return nullptr;
  irr::scene::IAnimatedMesh *mesh = scene->getMesh(path.c_str());
  return mesh ? mesh->getMesh(0) : nullptr;
}

} // namespace

std::string ShadowMeshPath(const char *meshPath) {
  std::string path(meshPath ? meshPath : "");
  const size_t dot = path.rfind('.');
  const size_t slash = path.find_last_of("/\\");
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
  return hasExtension ? path.insert(dot, "_shadow") : path + "_shadow";
}

const char *TokenMeshPath(irr::s32 type) {
  static const char *const meshes[] = {"./media/pawn.x",  "./media/rook.x", "./media/bishop.x",
                                       "./media/queen.x", "./media/king.x", "./media/knight.x"};
  return type >= Pawn && type <= Knight ? meshes[type] : meshes[Pawn];
}

const char *TokenTexturePath(irr::s32 color, bool highlighted) {
  return app.map.GetTheme().Look().token[color != White ? 1 : 0][highlighted ? 1 : 0];
}

CGameToken::CGameToken() = default;

// The scene owns the nodes: the token leaves them where they are. The static
// record is destroyed at process exit, possibly after the device, so touching
// a node here could reach freed memory; releasing it would free it twice.
CGameToken::~CGameToken() = default;

// Loads the mesh and makes the piece's node, texture and hidden shadow.
bool CGameToken::Create(irr::s32 c, irr::s32 t, const char *meshPath, const char *texturePath) {
  color = c;
  type = t;
  // A second Create would leave the old node orphaned and visible in the scene.
  DiscardNode();
  irr::scene::ISceneManager *scene = app.sceneManager;
  if (!scene)
    return false;
  irr::scene::IAnimatedMesh *mesh = scene->getMesh(meshPath);
  if (!mesh)
    return false;
  meshNode = scene->addAnimatedMeshSceneNode(mesh, scene->getRootSceneNode(), ID_NODE_TOKEN);
  if (!meshNode)
    return false;

  irr::video::ITexture *texture = app.driver ? app.driver->getTexture(texturePath) : nullptr;
  SetTextureOnLayers(meshNode, texture, 0, 0);
  SetTextureOnLayers(meshNode, nullptr, 1, 1);
  highlighted = false;
  SetLitMaterialFlags(meshNode);
  CBoardTheme::SetMaterial(meshNode, app.map.GetTheme().Look().pieceMaterial);
  AttachMeshSelector(scene, meshNode);
  if (captured)
    meshNode->setID(ID_NODE_NONE);

  // The shadow carries the "nothing" id so that a ray picking tokens by id
  // never hits a piece's far-reaching shadow volume instead of the piece.
  // Its volume is rebuilt every frame: a low-polygon companion mesh keeps that cheap.
  shadowNode = meshNode->addShadowVolumeSceneNode(LoadShadowMesh(scene, meshPath), ID_NODE_NONE, true, SHADOW_INFINITY);
  if (shadowNode)
    shadowNode->setVisible(false);

  SetMaterialType(meshNode, irr::video::EMT_SOLID);
  return true;
}

// Stores colour and kind without touching any node.
bool CGameToken::SetColorAndType(irr::s32 c, irr::s32 t) {
  color = c;
  type = t;
  return true;
}

void CGameToken::ChangeType(irr::s32 t) {
  if (!meshNode || t == type) {
    type = t;
    return;
  }
  const bool shadowShown = shadowNode && shadowNode->isVisible();
  const bool hidden = !meshNode->isVisible();
  Create(color, t, TokenMeshPath(t), TokenTexturePath(color));
  SetShadowVisible(shadowShown);
  if (t == Knight)
    SetRotationY(color == White ? -90.f : 90.f); // the knights look across the board
  if (meshNode)
    meshNode->setVisible(!hidden);
  SetSquare(square);
}

// Shows or hides the shadow volume, when there is one.
void CGameToken::SetShadowVisible(bool visible) {
  if (shadowNode)
    shadowNode->setVisible(visible);
}

// Turns the piece about the vertical axis.
void CGameToken::SetRotationY(irr::f32 degrees) {
  if (meshNode)
    meshNode->setRotation(vector3df(0, degrees, 0));
}

// Removes the mesh node, and with it its marker and shadow children.
void CGameToken::DiscardNode() {
  if (!meshNode)
    return;
  meshNode->removeAnimators();
  meshNode->remove();
  meshNode = nullptr;
  markerNode = nullptr;
  shadowNode = nullptr;
}

// Back to the start of a game: home square, no highlight, marker or capture.
void CGameToken::Reset() {
  if (meshNode)
    meshNode->removeAnimators();
  SetSquare(homeSquare);
  SetHighlight(false);
  SetMarker(false);
  SetCaptured(false);
}

// Puts the colour's normal or highlighted texture on the piece.
void CGameToken::SetHighlight(bool on) {
  highlighted = on;
  if (!meshNode)
    return;
  irr::video::ITexture *texture = app.driver ? app.driver->getTexture(TokenTexturePath(color, on)) : nullptr;
  SetTextureOnLayers(meshNode, texture, 0, 0);
  SetLitMaterialFlags(meshNode);
}

void CGameToken::ShowTheme() {
  if (!meshNode)
    return;
  CBoardTheme::SetMaterial(meshNode, app.map.GetTheme().Look().pieceMaterial);
  SetHighlight(highlighted);
}

// Stops any animation and moves the node to the world position at once.
void CGameToken::PlaceNodeAt(const vector3df &position) {
  if (!meshNode)
    return;
  meshNode->removeAnimators();
  meshNode->setPosition(position);
  meshNode->updateAbsolutePosition();
}

void CGameToken::SetHomeSquare(irr::s32 x, irr::s32 y) { homeSquare = BoardSquare(x, y); }

// Records the square; a piece on screen also moves onto that board field
// (once the board's fields exist). Scratch tokens never ask the board, so the
// rules run without a scene.
void CGameToken::SetSquare(const BoardSquare &s) {
  square = s;
  if (meshNode && s.IsOnBoard() && app.map.GetField(s.X, s.Y))
    PlaceNodeAt(app.map.GetSquareWorldPosition(s.X, s.Y));
}

BoardSquare CGameToken::GetSquare() const { return square; }

// Entry animation: falls from 70 units above onto its square.
void CGameToken::DropIn() {
  if (!meshNode || !app.sceneManager)
    return;
  const irr::u32 duration = DROP_BASE_MS + irr::u32(rand() % DROP_SPREAD_MS);
  StartDropInAnimation(app.sceneManager, meshNode, DROP_HEIGHT, duration);
}

void CGameToken::Capture() { SetCaptured(true); }

bool CGameToken::IsOnSquare(const BoardSquare &s) const { return square == s; }

bool CGameToken::OwnsNode(const irr::scene::ISceneNode *node) const { return meshNode && meshNode == node; }

irr::s32 CGameToken::GetType() const { return type; }

irr::s32 CGameToken::GetColor() const { return color; }

vector3df CGameToken::GetWorldPosition() const {
  return meshNode ? meshNode->getAbsolutePosition() : vector3df(0, 0, 0);
}

bool CGameToken::IsCaptured() const { return captured; }

// A captured piece is hidden and loses the piece id, which keeps it out of
// mouse picking also while it is still seen leaving the board.
void CGameToken::SetCaptured(bool c) {
  if (meshNode) {
    meshNode->setVisible(!c);
    meshNode->setID(c ? ID_NODE_NONE : ID_NODE_TOKEN);
    if (!c)
      meshNode->setScale(vector3df(1, 1, 1)); // back in play from a smaller place on a tray
  }
  captured = c;
}

// Shows or hides the spinning "x" over the piece, making it on first use
// (also when asked to hide it) so that later calls only switch visibility.
void CGameToken::SetMarker(bool on) {
  if (!meshNode)
    return;
  if (!markerNode) {
    irr::scene::ISceneManager *scene = app.sceneManager;
    if (!scene)
      return;
    irr::scene::IAnimatedMesh *mesh = scene->getMesh(MARKER_MESH);
    if (!mesh)
      return;
    markerNode = scene->addAnimatedMeshSceneNode(mesh, meshNode, ID_NODE_NONE);
    if (!markerNode)
      return;
    irr::video::ITexture *texture = app.driver ? app.driver->getTexture(MARKER_TEXTURE) : nullptr;
    SetTextureOnLayers(markerNode, texture, 0, 0);
    SetLitMaterialFlags(markerNode);
    markerNode->setScale(vector3df(MARKER_SCALE, MARKER_SCALE, MARKER_SCALE));
    markerNode->setPosition(vector3df(0, MARKER_HEIGHT, 0));
    irr::scene::ISceneNodeAnimator *spin = scene->createRotationAnimator(MARKER_SPIN);
    if (spin) {
      markerNode->addAnimator(spin);
      spin->drop();
    }
  }
  markerNode->setVisible(on);
}
