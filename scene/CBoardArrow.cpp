#include "scene/CBoardArrow.h"

#include "app/CApplication.h"
#include "scene/CGameField.h"
#include "scene/CMap.h"

#include <cmath>

using namespace irr;

// A bright, half-transparent green: the hint is blue, the last move a warm
// tint of the squares, the selection a light texture.
const video::SColor CBoardArrow::COLOR(190, 40, 200, 70);

namespace {

const f32 SHAFT_HALF_WIDTH = 1.5f; // a square is 10 units
const f32 HEAD_HALF_WIDTH = 3.8f;
const f32 HEAD_LENGTH = 4.5f;
const f32 LIFT = 0.25f;       // above the squares' top, under the pieces' bodies
const f32 START_INSET = 1.0f; // from near the centre of the from-square

// The arrow as a flat mesh along +X from 0 to length, lying in the XZ plane.
scene::SMesh *BuildArrow(f32 length) {
  auto *buffer = new scene::SMeshBuffer();
  const f32 shaftEnd = length - HEAD_LENGTH;
  const core::vector3df corners[] = {
      {START_INSET, 0, -SHAFT_HALF_WIDTH},
      {START_INSET, 0, SHAFT_HALF_WIDTH},
      {shaftEnd, 0, SHAFT_HALF_WIDTH},
      {shaftEnd, 0, -SHAFT_HALF_WIDTH},
      {shaftEnd, 0, -HEAD_HALF_WIDTH},
      {shaftEnd, 0, HEAD_HALF_WIDTH},
      {length, 0, 0},
  };
  for (const core::vector3df &corner : corners)
    buffer->Vertices.push_back(video::S3DVertex(corner, core::vector3df(0, 1, 0), CBoardArrow::COLOR, {0, 0}));
  const u16 indices[] = {0, 1, 2, 0, 2, 3, 4, 5, 6};
  for (u16 index : indices)
    buffer->Indices.push_back(index);
  buffer->Material.Lighting = false;
  buffer->Material.BackfaceCulling = false; // seen from above whichever way it was wound
  buffer->Material.MaterialType = video::EMT_TRANSPARENT_VERTEX_ALPHA;
  buffer->recalculateBoundingBox();
  auto *mesh = new scene::SMesh();
  mesh->addMeshBuffer(buffer);
  buffer->drop();
  mesh->recalculateBoundingBox();
  return mesh;
}

} // namespace

void CBoardArrow::Show(CMap &map, const BoardSquare &fromSquare, const BoardSquare &toSquare) {
  Clear();
  if (!fromSquare.IsOnBoard() || !toSquare.IsOnBoard() || !app.sceneManager)
    return;
  CGameField *start = map.GetField(fromSquare.X, fromSquare.Y);
  CGameField *end = map.GetField(toSquare.X, toSquare.Y);
  if (!start || !end || !start->GetNode())
    return;
  const core::vector3df a = start->GetWorldPosition(), b = end->GetWorldPosition();
  const core::vector3df along(b.X - a.X, 0, b.Z - a.Z);
  scene::SMesh *mesh = BuildArrow(along.getLength());
  // Id 0: picking never takes the arrow for the square under it.
  node = app.sceneManager->addMeshSceneNode(mesh, nullptr, 0);
  mesh->drop();
  if (!node)
    return;
  const f32 top = start->GetNode()->getTransformedBoundingBox().MaxEdge.Y;
  node->setPosition(core::vector3df(a.X, top + LIFT, a.Z));
  // The mesh points along +X; a turn about Y by -atan2(z, x) points it at the target.
  node->setRotation(core::vector3df(0, -std::atan2(along.Z, along.X) * core::RADTODEG, 0));
  from = fromSquare;
  to = toSquare;
}

void CBoardArrow::Clear() {
  if (node)
    node->remove();
  node = nullptr;
}
