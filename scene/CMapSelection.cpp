// Selection, highlighting and mouse picking: what the player sees lit up and
// what lies under the mouse pointer.
#include "scene/CMap.h"

#include "app/CApplication.h"
#include "scene/CGameField.h"
#include "scene/CGameLabel.h"
#include "scene/CGameToken.h"
#include "scene/CMoveAnimator.h"

#include <vector>

namespace {

// The ray from the scene camera through the mouse pointer; false without a
// device, camera or cursor (nothing can be under the pointer then).
bool PointerRay(irr::core::line3df &ray) {
  if (!app.device || !app.sceneManager)
    return false;
  irr::gui::ICursorControl *cursor = app.device->getCursorControl();
  irr::scene::ICameraSceneNode *camera = app.cameraRig.GetCamera();
  irr::scene::ISceneCollisionManager *collision = app.sceneManager->getSceneCollisionManager();
  if (!cursor || !camera || !collision)
    return false;
  ray = collision->getRayFromScreenCoordinates(cursor->getPosition(), camera);
  return true;
}

// What is drawn under the ray: the node of the nearest triangle among the
// board fields and the pieces in play. Each of those nodes carries a triangle
// selector of its own mesh, so a piece's empty surroundings inside its
// bounding box are looked through. Hidden nodes and nodes whose id carries
// neither bit (captured pieces, markers, shadows, labels) are never hit.
irr::scene::ISceneNode *DrawnNodeUnderRay(const irr::core::line3df &ray) {
  irr::core::vector3df point;
  irr::core::triangle3df triangle;
  return app.sceneManager->getSceneCollisionManager()->getSceneNodeAndCollisionPointFromRay(
      ray, point, triangle, ID_NODE_FIELD | ID_NODE_TOKEN);
}

} // namespace

// Every token unlit; nothing selected.
void CMap::ClearTokenHighlights() {
  for (CGameToken *token : tokens)
    if (token)
      token->SetHighlight(false);
  selectedToken = -1;
}

// Every board field unlit.
void CMap::ClearSquareHighlights() {
  for (CGameField *field : squares)
    if (field)
      field->SetHighlight(false);
}

void CMap::HighlightToken(irr::s32 index) {
  if (index >= 0 && index < TOKEN_COUNT && tokens[index])
    tokens[index]->SetHighlight(true);
}

void CMap::HighlightSquare(irr::s32 x, irr::s32 y) {
  if (BoardSquare(x, y).IsOnBoard() && squares[x * 8 + y])
    squares[x * 8 + y]->SetHighlight(true);
}

// Nothing lit, nothing selected.
void CMap::ClearSelection() {
  ClearTokenHighlights();
  ClearSquareHighlights();
  selectedToken = -1;
}

// Selects token i and lights it, its square and the targets given. The
// colour and the number of targets are not looked at.
void CMap::SelectToken(irr::s32 index, const std::vector<BoardSquare> &targets) {
  ClearSelection();
  if (index < 0 || index >= TOKEN_COUNT)
    return;
  selectedToken = index;
  HighlightToken(index);
  const BoardSquare own = tokens[index]->GetSquare();
  HighlightSquare(own.X, own.Y);
  for (const BoardSquare &target : targets)
    HighlightSquare(target.X, target.Y);
}

// The first token whose mesh node is node.
bool CMap::FindTokenOfNode(const irr::scene::ISceneNode *node, irr::s32 &index) const {
  for (irr::s32 i = 0; i < TOKEN_COUNT; ++i)
    if (tokens[i] && tokens[i]->OwnsNode(node)) {
      index = i;
      return true;
    }
  return false;
}

// The board square whose field node is node, scanning file by file.
bool CMap::FindSquareOfNode(const irr::scene::ISceneNode *node, BoardSquare &square) const {
  if (!node)
    return false;
  for (irr::s32 x = 0; x < 8; ++x)
    for (irr::s32 y = 0; y < 8; ++y) {
      const CGameField *field = squares[x * 8 + y];
      if (field && field->GetNode() == node) {
        square = BoardSquare(x, y);
        return true;
      }
    }
  return false;
}

// What is drawn under the pointer, as a token (-1 for none) and a square: a
// piece names itself and the square it stands on, a field its square.
bool CMap::PickDrawn(irr::s32 &index, BoardSquare &square) const {
  irr::core::line3df ray;
  if (!PointerRay(ray))
    return false;
  // A piece still on its way is looked through: a click acts on the position
  // after the move, whose squares are the ones under the travelling piece.
  std::vector<irr::scene::ISceneNode *> travelling;
  for (CGameToken *token : tokens) {
    irr::scene::ISceneNode *moving = token ? token->GetMeshNode() : nullptr;
    const CMoveAnimator *move = CMoveAnimator::Of(moving);
    if (move && !move->hasFinished() && moving->getID() == ID_NODE_TOKEN) {
      moving->setID(ID_NODE_NONE);
      travelling.push_back(moving);
    }
  }
  const irr::scene::ISceneNode *node = DrawnNodeUnderRay(ray);
  for (irr::scene::ISceneNode *moving : travelling)
    moving->setID(ID_NODE_TOKEN);
  irr::s32 found = -1;
  if (node && FindTokenOfNode(node, found) && !tokens[found]->IsCaptured()) {
    index = found;
    square = tokens[found]->GetSquare();
    return true;
  }
  if (!FindSquareOfNode(node, square))
    return false;
  index = FindTokenAt(square, found) ? found : -1;
  return true;
}

// The token drawn under the pointer, or standing on the square drawn there.
// The index is written whenever a token is found; the answer is true only
// for a token of the human player's colour.
bool CMap::PickToken(irr::s32 &index) const {
  irr::s32 found = -1;
  BoardSquare square;
  if (!PickDrawn(found, square) || found < 0)
    return false;
  index = found;
  return tokens[found]->GetColor() == app.game.GetHumanColor();
}

// The board square drawn under the pointer; a piece drawn there stands for
// the square it stands on, so a click on an enemy piece aims at its square.
bool CMap::PickSquare(BoardSquare &square) const {
  irr::s32 found = -1;
  return PickDrawn(found, square);
}

// World position of the selected token, (0, 0, 0) with no selection.
irr::core::vector3df CMap::GetSelectedTokenPosition() const {
  if (selectedToken < 0 || selectedToken >= TOKEN_COUNT)
    return irr::core::vector3df(0, 0, 0);
  return tokens[selectedToken]->GetWorldPosition();
}

// Shows or hides the shadows of all pieces together.
void CMap::SetShadowsVisible(bool visible) {
  shadowsVisible = visible;
  for (CGameToken *token : tokens)
    if (token)
      token->SetShadowVisible(visible);
}

// Lights the label strips of one side: 0 and 2 for White, 1 and 3 for Black;
// with on false, none.
void CMap::ShowLabels(bool on, irr::s32 color) {
  for (irr::s32 i = 0; i < LABEL_COUNT; ++i) {
    if (!labels[i])
      continue;
    const bool whiteStrip = i % 2 == 0;
    labels[i]->SetHighlight(on && whiteStrip == (color == White));
  }
}
