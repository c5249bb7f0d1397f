#include "scene/CPiecePortraits.h"

#include "app/CApplication.h"
#include "scene/CGameToken.h"
#include "scene/SceneHelpers.h"

using namespace irr;

namespace {

// The pieces are seen a little from above and from the side, as from the
// player's chair; black pieces from the other side of the board.
const core::vector3df VIEW_FROM(0.45f, 0.55f, -1.f);
const f32 FIELD_OF_VIEW = core::PI / 6.f; // a long lens: little perspective
const f32 MARGIN = 1.2f;                  // room around the piece

bool Valid(s32 color, s32 kind) { return (color == White || color == Black) && kind >= Pawn && kind <= Knight; }

} // namespace

video::ITexture *CPiecePortraits::Get(s32 color, s32 kind, u32 size) {
  if (!Valid(color, kind) || size == 0 || !app.driver || !app.driver->queryFeature(video::EVDF_RENDER_TO_TARGET))
    return nullptr;
  video::ITexture *&picture = pictures[color][kind];
  if (picture && picture->getOriginalSize().Width != size) { // the interface changed its scale
    app.driver->removeTexture(picture);
    picture = nullptr;
  }
  if (!picture) {
    const core::stringc name = core::stringc("piece-portrait-") + core::stringc(color) + "-" + core::stringc(kind);
    picture = app.driver->addRenderTargetTexture(core::dimension2d<u32>(size, size), name, video::ECF_A8R8G8B8);
    pending[color][kind] = picture != nullptr;
  }
  return picture;
}

void CPiecePortraits::Redraw() {
  for (s32 color = White; color <= Black; ++color)
    for (s32 kind = Pawn; kind <= Knight; ++kind)
      pending[color][kind] = pictures[color][kind] != nullptr;
}

void CPiecePortraits::RenderPending() {
  for (s32 color = White; color <= Black; ++color)
    for (s32 kind = Pawn; kind <= Knight; ++kind)
      if (pending[color][kind]) {
        pending[color][kind] = false;
        Render(color, kind);
      }
}

// Stands the piece alone on a stage of its own (a second scene manager that
// shares the meshes and textures), lights it, frames its bounding box and
// draws it into its texture over a square's colour. Each colour stands on the
// set's other square colour, as the pieces do on the board's dark and light
// squares, so that both stand out.
void CPiecePortraits::Render(s32 color, s32 kind) {
  video::ITexture *picture = pictures[color][kind];
  scene::IAnimatedMesh *mesh = app.sceneManager ? app.sceneManager->getMesh(TokenMeshPath(kind)) : nullptr;
  if (!picture || !mesh)
    return;
  scene::ISceneManager *stage = app.sceneManager->createNewSceneManager(false);
  scene::IAnimatedMeshSceneNode *node = stage->addAnimatedMeshSceneNode(mesh);
  if (node) {
    const SBoardLook &look = app.map.GetTheme().Look();
    SetTextureOnLayers(node, app.driver->getTexture(TokenTexturePath(color)), 0, 0);
    SetTextureOnLayers(node, nullptr, 1, 1);
    SetLitMaterialFlags(node);
    SetMaterialType(node, video::EMT_SOLID);
    CBoardTheme::SetMaterial(node, look.pieceMaterial);
    if (kind == Knight) // in profile: the head is what tells the knight
      node->setRotation(core::vector3df(0, color == White ? 0.f : 180.f, 0));
    node->updateAbsolutePosition();

    const core::aabbox3df box = node->getTransformedBoundingBox();
    const core::vector3df centre = box.getCenter();
    // The tallest piece is twice as tall as it is wide: fitting its height
    // (tilted a little towards the camera) fills the picture.
    const core::vector3df extent = box.getExtent();
    const f32 radius = core::max_(extent.Y, extent.X, extent.Z) / 2.f * MARGIN;
    core::vector3df from = VIEW_FROM;
    if (color == Black)
      from = core::vector3df(-from.X, from.Y, -from.Z);
    from.normalize();
    const f32 distance = radius / std::sin(FIELD_OF_VIEW / 2.f);
    scene::ICameraSceneNode *camera = stage->addCameraSceneNode(nullptr, centre + from * distance, centre);
    camera->setFOV(FIELD_OF_VIEW);
    camera->setAspectRatio(1.f);
    camera->setNearValue(distance / 10.f);
    camera->setFarValue(distance * 3.f);
    stage->addLightSceneNode(nullptr, centre + from * distance + core::vector3df(0, distance, 0),
                             video::SColorf(0.9f, 0.9f, 0.9f), distance * 4.f);
    stage->setAmbientLight(video::SColorf(0.35f, 0.35f, 0.35f));

    app.driver->setRenderTarget(picture, true, true, look.portraitGround[color == White ? 0 : 1]);
    stage->drawAll();
    app.driver->setRenderTarget(nullptr, false, false);
  }
  stage->drop();
}

void CPiecePortraits::Exit() {
  for (auto &row : pictures)
    for (video::ITexture *&picture : row) {
      if (picture && app.driver)
        app.driver->removeTexture(picture);
      picture = nullptr;
    }
  for (auto &row : pending)
    for (bool &p : row)
      p = false;
}
