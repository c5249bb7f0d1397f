#include "scene/CCaptureTray.h"

#include "app/CApplication.h"
#include "scene/SceneHelpers.h"

using irr::core::vector3df;

namespace {

const irr::f32 TRAY_DISTANCE = 55.f; // from the board's centre line to the tray's
const irr::f32 SLOT_PITCH = 5.f;
const irr::f32 FIRST_SLOT = -35.f; // from the owner's left
// The field tile (10 units square at the board's scale) stretched into a
// long narrow plank holding all fifteen places.
const vector3df TRAY_SCALE(2.4f * 7.9f, 2.4f, 2.4f * 0.8f);

} // namespace

bool CCaptureTray::Create(irr::s32 c, const char *meshPath) {
  color = c;
  if (!app.sceneManager)
    return false;
  irr::scene::IAnimatedMesh *mesh = app.sceneManager->getMesh(meshPath);
  if (!mesh)
    return false;
  // The tray is never picked: it carries the "nothing" id.
  node = app.sceneManager->addAnimatedMeshSceneNode(mesh, app.sceneManager->getRootSceneNode(), ID_NODE_NONE);
  if (!node)
    return false;
  SetMaterialType(node, irr::video::EMT_SOLID);
  SetLitMaterialFlags(node);
  ShowTheme();
  node->setScale(TRAY_SCALE);
  node->setPosition(vector3df(0, 0, color == White ? -TRAY_DISTANCE : TRAY_DISTANCE));
  node->updateAbsolutePosition();
  return true;
}

void CCaptureTray::ShowTheme() {
  if (!node)
    return;
  const SBoardLook &look = app.map.GetTheme().Look();
  SetTextureOnLayers(node, app.driver->getTexture(look.tray), 0, 0);
  CBoardTheme::SetMaterial(node, look.fieldMaterial);
}

vector3df CCaptureTray::SlotPosition(irr::s32 color, irr::s32 slot) {
  const irr::s32 place = slot < 0 ? 0 : slot < SLOT_COUNT ? slot : SLOT_COUNT - 1;
  const irr::f32 along = FIRST_SLOT + SLOT_PITCH * place;
  // Black sits across the board: its left is White's right.
  return color == White ? vector3df(along, 0, -TRAY_DISTANCE) : vector3df(-along, 0, TRAY_DISTANCE);
}
