#include "scene/CBoardReflection.h"

#include "app/CApplication.h"
#include "platform/Platform.h"
#include "platform/Window.h"
#include "scene/CGameField.h"
#include "scene/CGameToken.h"

#include <algorithm>
#include <cstdio>

using namespace irr;

namespace {

const char *const TARGET_NAME = "board-reflection";
// A field still falling in is not yet part of the board's plane.
const f32 AT_REST = 0.01f;

core::vector3df Reflect(core::vector3df point) {
  point.Y = 2.f * CBoardReflection::PLANE_Y - point.Y;
  return point;
}

u32 PowerOfTwoAtLeast(u32 n) {
  u32 side = 1;
  while (side < n && side < CBoardReflection::MAX_TARGET_SIDE)
    side *= 2;
  return side;
}

// The overlay: (GRID + 1)^2 vertices over the squares, white with the faint
// alpha, their texture coordinates set later for the camera.
scene::SMesh *MakeOverlayMesh() {
  scene::SMeshBuffer *buffer = new scene::SMeshBuffer();
  const s32 side = CBoardReflection::GRID + 1;
  const f32 step = 2.f * CBoardReflection::HALF_SIZE / f32(CBoardReflection::GRID);
  const video::SColor colour(CBoardReflection::OVERLAY_ALPHA, 255, 255, 255);
  const f32 y = CBoardReflection::PLANE_Y + CBoardReflection::OVERLAY_LIFT;
  for (s32 row = 0; row < side; ++row)
    for (s32 column = 0; column < side; ++column)
      buffer->Vertices.push_back(video::S3DVertex(-CBoardReflection::HALF_SIZE + step * f32(column), y,
                                                  -CBoardReflection::HALF_SIZE + step * f32(row), 0, 1, 0, colour, 0,
                                                  0));
  for (s32 row = 0; row < CBoardReflection::GRID; ++row)
    for (s32 column = 0; column < CBoardReflection::GRID; ++column) {
      const u16 a = u16(row * side + column), b = u16(a + 1), c = u16(a + side), d = u16(c + 1);
      for (u16 index : {a, c, d, a, d, b}) // clockwise seen from above
        buffer->Indices.push_back(index);
    }
  buffer->recalculateBoundingBox();
  video::SMaterial &material = buffer->Material;
  material.MaterialType = video::EMT_ONETEXTURE_BLEND;
  // Texture alpha (where a piece's mirror image is) times the vertices' faint alpha.
  material.MaterialTypeParam =
      video::pack_textureBlendFunc(video::EBF_SRC_ALPHA, video::EBF_ONE_MINUS_SRC_ALPHA, video::EMFN_MODULATE_1X,
                                   video::EAS_TEXTURE | video::EAS_VERTEX_COLOR);
  material.Lighting = false;
  material.ZWriteEnable = false; // the highlights and hints below still show through
  material.BackfaceCulling = false;
  material.TextureLayer[0].TextureWrapU = video::ETC_CLAMP_TO_EDGE;
  material.TextureLayer[0].TextureWrapV = video::ETC_CLAMP_TO_EDGE;
  scene::SMesh *mesh = new scene::SMesh();
  mesh->addMeshBuffer(buffer);
  buffer->drop();
  mesh->recalculateBoundingBox();
  return mesh;
}

// Whether every field lies in the board's plane (none is falling in).
bool BoardAtRest() {
  for (s32 x = 0; x < 8; ++x)
    for (s32 y = 0; y < 8; ++y) {
      const CGameField *field = app.map.GetField(x, y);
      if (!field || !field->GetNode() ||
          !core::equals(field->GetNode()->getAbsolutePosition().Y, CBoardReflection::PLANE_Y, AT_REST))
        return false;
    }
  return true;
}

core::matrix4 ViewProjection(const scene::ICameraSceneNode *camera) {
  core::matrix4 view;
  view.buildCameraLookAtMatrixLH(camera->getAbsolutePosition(), camera->getTarget(), camera->getUpVector());
  return camera->getProjectionMatrix() * view;
}

// The mesh a piece's mirror image is drawn with: its kind's low-polygon
// companion (the piece's outline in a quarter of its triangles, loaded for
// its shadow), as the faint image shows no more detail; the piece's own mesh
// where there is none.
scene::IAnimatedMesh *MirrorMesh(const CGameToken &token, scene::IAnimatedMesh *own) {
  const std::string path = ShadowMeshPath(TokenMeshPath(token.GetType()));
  scene::IAnimatedMesh *low = app.sceneManager->getMeshCache()->getMeshByName(path.c_str());
  return low ? low : own;
}

} // namespace

bool CBoardReflection::FrameTimeProbe::Add(double ms) {
  if (IsDone())
    return false;
  if (skipped < SETTLE) {
    ++skipped;
    return false;
  }
  samples.push_back(ms);
  return IsDone();
}

double CBoardReflection::FrameTimeProbe::MedianMs() const {
  if (samples.empty())
    return 0;
  std::vector<double> sorted = samples;
  std::sort(sorted.begin(), sorted.end());
  const size_t middle = sorted.size() / 2;
  return sorted.size() % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

CBoardReflection::View CBoardReflection::Mirror(const View &view) {
  return View{Reflect(view.position), Reflect(view.target), core::vector3df(view.up.X, -view.up.Y, view.up.Z)};
}

core::vector2df CBoardReflection::TextureCoord(const core::matrix4 &viewProjection, const core::vector3df &point) {
  f32 clip[4] = {point.X, point.Y, point.Z, 1.f};
  viewProjection.multiplyWith1x4Matrix(clip);
  // A point behind the camera has no place in the picture; it is taken as
  // just in front, which keeps its cell's visible part close.
  const f32 w = std::max(clip[3], 1e-3f);
  return core::vector2df(0.5f - 0.5f * clip[0] / w, 0.5f - 0.5f * clip[1] / w);
}

core::dimension2du CBoardReflection::TargetSize(const core::dimension2du &screen) {
  return core::dimension2du(PowerOfTwoAtLeast((screen.Width + 1) / 2), PowerOfTwoAtLeast((screen.Height + 1) / 2));
}

bool CBoardReflection::Init() {
  scene::ISceneManager *scene = app.sceneManager;
  if (!scene)
    return false;
  if (!overlay) {
    scene::SMesh *mesh = MakeOverlayMesh();
    // Id 0: picking looks only at fields and pieces; the overlay has no
    // triangle selector either.
    overlay = scene->addMeshSceneNode(mesh, scene->getRootSceneNode(), ID_NODE_NONE);
    mesh->drop();
    if (!overlay)
      return false;
    overlay->setVisible(false);
  }
  if (!stage) {
    stage = scene->createNewSceneManager(false);
    mirrorCamera = stage->addCameraSceneNode();
    stageLight = stage->addLightSceneNode();
  }
  overlayCurrent = false;
  const CSettings &settings = app.settings.Get();
  enabled = settings.reflections;
  // Without render targets there is nothing to time (nor to draw).
  probing = !settings.reflectionsChosen && app.driver && app.driver->queryFeature(video::EVDF_RENDER_TO_TARGET);
  probe = FrameTimeProbe();
  return true;
}

void CBoardReflection::Exit() {
  ReleaseTarget();
  pieces.clear();
  if (stage)
    stage->drop();
  stage = nullptr;
  mirrorCamera = nullptr;
  stageLight = nullptr;
}

void CBoardReflection::ReleaseTarget() {
  if (target && app.driver)
    app.driver->removeTexture(target);
  target = nullptr;
  if (overlay)
    overlay->getMaterial(0).setTexture(0, nullptr);
}

void CBoardReflection::SetEnabled(bool on) {
  enabled = on;
  probing = false;
  if (!on)
    TurnOff();
}

// Off, the mirror image's texture goes too (made again when they come back).
void CBoardReflection::TurnOff() {
  if (overlay)
    overlay->setVisible(false);
  ReleaseTarget();
  platform::ReturnFreedMemory();
}

void CBoardReflection::UpdateOverlay(const scene::ICameraSceneNode *camera, const core::dimension2du &screen) {
  if (!overlay || !camera)
    return;
  const core::matrix4 viewProjection = ViewProjection(camera);
  if (overlayCurrent && screen == shownScreen && viewProjection == shownViewProjection)
    return;
  scene::IMeshBuffer *buffer = overlay->getMesh()->getMeshBuffer(0);
  video::S3DVertex *vertices = static_cast<video::S3DVertex *>(buffer->getVertices());
  for (u32 i = 0; i < buffer->getVertexCount(); ++i) {
    const core::vector3df onPlane(vertices[i].Pos.X, PLANE_Y, vertices[i].Pos.Z);
    vertices[i].TCoords = TextureCoord(viewProjection, onPlane);
  }
  buffer->setDirty(scene::EBT_VERTEX);
  shownViewProjection = viewProjection;
  shownScreen = screen;
  overlayCurrent = true;
}

void CBoardReflection::FollowPieces() {
  if (!stage)
    return;
  pieces.resize(CMap::TOKEN_COUNT, nullptr);
  for (s32 i = 0; i < CMap::TOKEN_COUNT; ++i) {
    const CGameToken *token = app.map.GetToken(i);
    scene::IAnimatedMeshSceneNode *source = token ? token->GetMeshNode() : nullptr;
    scene::IAnimatedMeshSceneNode *&mirrored = pieces[i];
    // A captured piece (sinking out of the board or on its tray) leaves no image.
    const bool shown = source && source->isVisible() && !token->IsCaptured();
    if (!shown) {
      if (mirrored)
        mirrored->setVisible(false);
      continue;
    }
    scene::IAnimatedMesh *mesh = MirrorMesh(*token, source->getMesh());
    if (!mirrored)
      mirrored = stage->addAnimatedMeshSceneNode(mesh, nullptr, ID_NODE_NONE);
    else if (mirrored->getMesh() != mesh) // a promotion, a new game
      mirrored->setMesh(mesh);
    if (!mirrored)
      continue;
    mirrored->setVisible(true);
    mirrored->setPosition(source->getAbsolutePosition());
    mirrored->setRotation(source->getRotation());
    mirrored->setScale(source->getScale());
    for (u32 m = 0; m < mirrored->getMaterialCount() && m < source->getMaterialCount(); ++m)
      mirrored->getMaterial(m) = source->getMaterial(m); // texture and highlight as on the board
  }
}

void CBoardReflection::Render() {
  drawnThisFrame = false;
  if (!overlay)
    return;
  scene::ICameraSceneNode *camera = app.cameraRig.GetCamera();
  video::IVideoDriver *driver = app.driver;
  if (!enabled || !stage || !camera || !driver || !driver->queryFeature(video::EVDF_RENDER_TO_TARGET) ||
      !BoardAtRest()) {
    overlay->setVisible(false);
    return;
  }
  const core::dimension2du screen = driver->getScreenSize();
  const core::dimension2du size = TargetSize(screen);
  if (target && target->getSize() != size) // the window changed its size
    ReleaseTarget();
  if (!target) {
    target = driver->addRenderTargetTexture(size, TARGET_NAME, video::ECF_A8R8G8B8);
    if (!target) {
      overlay->setVisible(false);
      return;
    }
    overlay->getMaterial(0).setTexture(0, target);
  }
  UpdateOverlay(camera, screen);
  FollowPieces();

  const View mirrored = Mirror(View{camera->getAbsolutePosition(), camera->getTarget(), camera->getUpVector()});
  mirrorCamera->setPosition(mirrored.position);
  mirrorCamera->setTarget(mirrored.target);
  mirrorCamera->setUpVector(mirrored.up);
  mirrorCamera->setFOV(camera->getFOV());
  mirrorCamera->setAspectRatio(camera->getAspectRatio());
  mirrorCamera->setNearValue(camera->getNearValue());
  mirrorCamera->setFarValue(camera->getFarValue());
  // The pieces lit as on the board: the same light where it stands.
  if (scene::ILightSceneNode *light = app.cameraRig.GetLight()) {
    stageLight->setLightData(light->getLightData());
    stageLight->setPosition(light->getAbsolutePosition());
    stageLight->setVisible(light->isVisible());
  }
  stage->setAmbientLight(app.sceneManager->getAmbientLight());

  driver->setRenderTarget(target, true, true, video::SColor(0, 0, 0, 0));
  stage->drawAll();
  driver->setRenderTarget(nullptr, false, false);
  overlay->setVisible(true);
  drawnThisFrame = true;
}

void CBoardReflection::FrameDrawn(std::chrono::steady_clock::time_point start) {
  if (!probing || !drawnThisFrame || app.game.GetState() == Startup)
    return;
  platform::FinishDrawing();
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  if (probe.Add(ms))
    Decide();
}

void CBoardReflection::Decide() {
  probing = false;
  char text[160];
  if (probe.TooSlow()) {
    enabled = false;
    TurnOff();
    snprintf(text, sizeof text, "reflections off: drawing takes %.1f ms a frame, more than 60 fps allows",
             probe.MedianMs());
  } else {
    snprintf(text, sizeof text, "reflections on");
  }
  LogMessage(text);
}
