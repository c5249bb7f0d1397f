#include "scene/CGameField.h"

#include "app/CApplication.h"
#include "scene/SceneHelpers.h"

#include <cstdlib>

using namespace irr;

namespace {

const f32 FIELD_SCALE = 2.4f;
const f32 DROP_HEIGHT = 60.f;
const u32 DROP_MS = 1200, DROP_SPREAD_MS = 200;

} // namespace

CGameField::~CGameField() {
  if (node)
    node->removeAnimators();
}

bool CGameField::Create(bool isDark, const char *meshPath) {
  highlighted = false;
  dark = isDark;
  scene::IAnimatedMesh *mesh = app.sceneManager->getMesh(meshPath);
  if (!mesh)
    return false;
  node = app.sceneManager->addAnimatedMeshSceneNode(mesh, app.sceneManager->getRootSceneNode(), ID_NODE_FIELD);
  if (!node)
    return false;
  SetMaterialType(node, video::EMT_SOLID);
  node->setScale(core::vector3df(FIELD_SCALE));
  SetLitMaterialFlags(node);
  AttachMeshSelector(app.sceneManager, node);
  ShowTheme();
  return true;
}

void CGameField::SetPosition(const core::vector3df &position) {
  node->setPosition(position);
  node->updateAbsolutePosition();
}

core::vector3df CGameField::GetWorldPosition() const { return node->getAbsolutePosition(); }

void CGameField::SetHighlight(bool on) {
  if (on == highlighted)
    return;
  highlighted = on;
  ShowTexture();
}

void CGameField::SetLastMoveTint(bool on) {
  if (on == lastMoveTint)
    return;
  lastMoveTint = on;
  ShowTexture();
}

void CGameField::ShowTheme() {
  if (!node)
    return;
  CBoardTheme::SetMaterial(node, app.map.GetTheme().Look().fieldMaterial);
  ShowTexture();
}

// The selection highlight, else the last move's tint, else the plain square.
void CGameField::ShowTexture() {
  const char *path = app.map.GetTheme().Look().field[dark ? 1 : 0][highlighted ? 1 : lastMoveTint ? 2 : 0];
  if (node)
    SetTextureOnLayers(node, app.driver->getTexture(path), 0, 0);
}

void CGameField::DropIn() {
  if (!node)
    return;
  StartDropInAnimation(app.sceneManager, node, DROP_HEIGHT, DROP_MS + u32(rand() % DROP_SPREAD_MS));
}
