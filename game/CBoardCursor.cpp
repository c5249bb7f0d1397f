#include "game/CBoardCursor.h"

#include "app/CApplication.h"
#include "scene/CGameField.h"
#include "ui/GuiFocus.h"

#include <algorithm>

using namespace irr;

// Warm yellow: apart from the hint's blue, the arrow's green and the
// selection's light texture.
const video::SColor CBoardCursor::TINT(150, 250, 200, 30);

namespace {

const f32 PANE_SIZE = 8.4f; // a square is 10 units: a border of the square shows round it
const f32 PANE_THICKNESS = 0.1f;
const f32 PANE_LIFT = 0.12f; // above the hint's panes

} // namespace

void CBoardCursor::Update() {
  if (app.game.GetGameId() == gameSeen)
    return;
  gameSeen = app.game.GetGameId();
  // White's e2 or Black's e7: the king's pawn of the side the player holds.
  square = BoardSquare(4, app.game.GetHumanColor() == Black && !app.game.IsTwoPlayers() ? 6 : 1);
  Hide(); // the first key of the new game shows it there
}

void CBoardCursor::Exit() { Hide(); }

void CBoardCursor::Hide() {
  if (pane)
    pane->remove();
  pane = nullptr;
}

void CBoardCursor::Show() {
  Hide();
  CGameField *field = app.map.GetField(square.X, square.Y);
  if (!field || !field->GetNode() || !app.sceneManager)
    return;
  // Id 0: picking never takes the pane for the square under it.
  pane = app.sceneManager->addCubeSceneNode(1.f, nullptr, 0);
  if (!pane)
    return;
  app.sceneManager->getMeshManipulator()->setVertexColors(pane->getMesh(), TINT);
  pane->setMaterialFlag(video::EMF_LIGHTING, false);
  pane->setMaterialType(video::EMT_TRANSPARENT_VERTEX_ALPHA);
  pane->setScale(core::vector3df(PANE_SIZE, PANE_THICKNESS, PANE_SIZE));
  core::vector3df position = field->GetWorldPosition();
  position.Y = field->GetNode()->getTransformedBoundingBox().MaxEdge.Y + PANE_LIFT + PANE_THICKNESS / 2;
  pane->setPosition(position);
}

bool CBoardCursor::OnKey(const SEvent::SKeyInput &key) {
  if (!key.PressedDown || key.Control || app.game.GetState() != LocalGame || app.review.IsOpen())
    return false;
  // A window or box that holds the focus (the colour choice, a message) takes the keys.
  if (DialogTakesKeys(app.guiEnvironment))
    return false;
  // Seen from the player's side: from Black's, up the board is down the ranks.
  const int toward = app.game.GetHumanColor() == Black && !app.game.IsTwoPlayers() ? -1 : 1;
  int dx = 0, dy = 0;
  switch (key.Key) {
  case KEY_UP:
    dy = toward;
    break;
  case KEY_DOWN:
    dy = -toward;
    break;
  case KEY_LEFT:
    dx = -toward;
    break;
  case KEY_RIGHT:
    dx = toward;
    break;
  case KEY_SPACE:
  case KEY_RETURN:
    if (!IsShown())
      Show(); // the first key shows where the cursor is
    else
      app.game.Input().OnSquareChosen(square);
    return true;
  default:
    return false;
  }
  if (IsShown()) {
    square.X = std::clamp(square.X + dx, 0, 7);
    square.Y = std::clamp(square.Y + dy, 0, 7);
  }
  Show();
  return true;
}
