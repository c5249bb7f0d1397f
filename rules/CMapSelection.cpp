// Selection, highlighting and mouse picking: what the player sees lit up and
// what lies under the mouse pointer.
#include "scene/CMap.h"

#include "app/CApplication.h"
#include "rules/CGameToken.h"
#include "scene/CGameField.h"
#include "scene/CGameLabel.h"

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

// The nearest visible node under the ray whose id shares a bit with idMask.
// Hidden nodes (captured pieces) and their children are never hit.
irr::scene::ISceneNode *NodeUnderRay(const irr::core::line3df &ray, irr::s32 idMask) {
  return app.sceneManager->getSceneCollisionManager()->getSceneNodeFromRayBB(ray, idMask, false);
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
  if (IsOnBoard(x, y) && squares[x * 8 + y])
    squares[x * 8 + y]->SetHighlight(true);
}

// Nothing lit, nothing selected.
void CMap::ClearSelection() {
  ClearTokenHighlights();
  ClearSquareHighlights();
  selectedToken = -1;
}

// Selects token i and lights it, its square and its legal targets. The colour
// and the number of targets are not looked at.
void CMap::SelectToken(irr::s32 index) {
  ClearSelection();
  if (index < 0 || index >= TOKEN_COUNT)
    return;
  selectedToken = index;
  HighlightToken(index);
  const BoardSquare own = tokens[index]->GetSquare();
  HighlightSquare(own.X, own.Y);
  TargetList &targets = tokens[index]->GetTargets();
  for (TargetList::ConstIterator it = targets.begin(); it != targets.end(); ++it)
    HighlightSquare(it->X, it->Y);
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

// The token under the pointer, by its mesh or by the square it stands on.
// The index is written whenever a token is found; the answer is true only
// for a token of the human player's colour.
bool CMap::PickToken(irr::s32 &index) const {
  irr::core::line3df ray;
  if (!PointerRay(ray))
    return false;
  irr::s32 found;
  irr::scene::ISceneNode *node = NodeUnderRay(ray, ID_NODE_TOKEN);
  if (!node || !FindTokenOfNode(node, found)) {
    BoardSquare square;
    if (!FindSquareOfNode(NodeUnderRay(ray, ID_NODE_FIELD), square) || !FindTokenAt(square, found))
      return false;
  }
  index = found;
  return tokens[found]->GetColor() == app.game.GetHumanColor();
}

// The board square under the pointer; pieces are looked through.
bool CMap::PickSquare(BoardSquare &square) const {
  irr::core::line3df ray;
  if (!PointerRay(ray))
    return false;
  return FindSquareOfNode(NodeUnderRay(ray, ID_NODE_FIELD), square);
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
