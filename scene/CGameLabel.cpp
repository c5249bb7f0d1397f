#include "scene/CGameLabel.h"

#include "app/CApplication.h"
#include "scene/SceneHelpers.h"

#include <cstdlib>

using namespace irr;

namespace {

const f32 LABEL_SCALE = 6.f;
const f32 DROP_HEIGHT = 60.f;
const u32 DROP_MS = 2000, DROP_SPREAD_MS = 400;

} // namespace

CGameLabel::~CGameLabel() {
  if (node)
    node->removeAnimators();
}

bool CGameLabel::Create(bool isDark, const char *meshPath) {
  highlighted = false;
  dark = isDark;
  scene::IAnimatedMesh *mesh = app.sceneManager->getMesh(meshPath);
  if (!mesh)
    return false;
  node = app.sceneManager->addAnimatedMeshSceneNode(mesh, app.sceneManager->getRootSceneNode(), ID_NODE_NONE);
  if (!node)
    return false;
  SetLitMaterialFlags(node); // the material type stays as the mesh file gives it
  node->setScale(core::vector3df(LABEL_SCALE));
  SetHighlight(false);
  return true;
}

void CGameLabel::SetHighlight(bool on) {
  const char *path = app.map.GetTheme().Look().label[dark ? 1 : 0][on ? 1 : 0];
  highlighted = on;
  if (node)
    SetTextureOnLayers(node, app.driver->getTexture(path), 0, 3);
}

void CGameLabel::SetPosition(const core::vector3df &position) {
  node->setPosition(position);
  node->updateAbsolutePosition();
}

void CGameLabel::SetRotation(const core::vector3df &degrees) {
  node->setRotation(degrees);
  node->updateAbsolutePosition();
}

void CGameLabel::DropIn() {
  if (!node)
    return;
  StartDropInAnimation(app.sceneManager, node, DROP_HEIGHT, DROP_MS + u32(rand() % DROP_SPREAD_MS));
}
