#include "scene/CHintMarks.h"

#include "app/CApplication.h"
#include "scene/CGameField.h"
#include "scene/CMap.h"

#include <initializer_list>

using namespace irr;

// A cool, half-transparent blue: the selection's highlight is a brighter
// texture and the board is warm wood; blue stands apart from both.
const video::SColor CHintMarks::TINT(140, 40, 110, 230);

namespace {

const f32 PANE_SIZE = 9.6f;      // a square is 10 units; the seams stay visible
const f32 PANE_THICKNESS = 0.1f; // just above the square's top
const f32 PANE_LIFT = 0.05f;

} // namespace

void CHintMarks::Show(CMap &map, const BoardSquare &from, const BoardSquare &to) {
  Clear();
  scene::ISceneManager *scene = app.sceneManager;
  for (const BoardSquare &square : {from, to}) {
    CGameField *field = square.IsOnBoard() ? map.GetField(square.X, square.Y) : nullptr;
    if (!field || !field->GetNode() || !scene)
      continue;
    // Id 0: picking looks only at fields and pieces, so the pane never
    // takes a click meant for the square below it.
    scene::IMeshSceneNode *pane = scene->addCubeSceneNode(1.f, nullptr, 0);
    if (!pane)
      continue;
    scene->getMeshManipulator()->setVertexColors(pane->getMesh(), TINT);
    pane->setMaterialFlag(video::EMF_LIGHTING, false);
    pane->setMaterialType(video::EMT_TRANSPARENT_VERTEX_ALPHA);
    pane->setScale(core::vector3df(PANE_SIZE, PANE_THICKNESS, PANE_SIZE));
    const f32 top = field->GetNode()->getTransformedBoundingBox().MaxEdge.Y;
    core::vector3df position = field->GetWorldPosition();
    position.Y = top + PANE_LIFT + PANE_THICKNESS / 2;
    pane->setPosition(position);
    panes[count] = pane;
    squares[count] = square;
    ++count;
  }
}

void CHintMarks::Clear() {
  for (int i = 0; i < count; ++i)
    panes[i]->remove();
  count = 0;
}
