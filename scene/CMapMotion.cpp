// The scene side of a move: pieces travelling to their new squares, captured
// pieces sinking out, and the tint of the last move's squares.
#include "scene/CMap.h"

#include "app/CApplication.h"
#include "scene/CCaptureTray.h"
#include "scene/CGameField.h"
#include "scene/CGameToken.h"

#include "scene/CMoveAnimator.h"
#include <algorithm>

using irr::core::vector3df;

void CMap::SnapshotPlacement(Placement &placement) const {
  for (irr::s32 i = 0; i < TOKEN_COUNT; ++i) {
    const CGameToken *token = tokens[i];
    placement.captured[i] = token && token->IsCaptured();
    placement.at[i] = token && token->GetMeshNode() ? token->GetMeshNode()->getPosition() : vector3df();
  }
}

void CMap::AnimateMove(const Placement &before, irr::s32 mover) {
  for (irr::s32 i = 0; i < TOKEN_COUNT; ++i)
    if (tokens[i] && tokens[i]->IsCaptured() && !before.captured[i])
      captureOrder.push_back(i);
  if (!app.device || mover < 0 || mover >= TOKEN_COUNT)
    return;
  const irr::u32 now = app.device->getTimer()->getTime();
  const bool kingMoved = tokens[mover]->GetType() == King;
  for (irr::s32 i = 0; i < TOKEN_COUNT; ++i) {
    CGameToken *token = tokens[i];
    irr::scene::IAnimatedMeshSceneNode *node = token ? token->GetMeshNode() : nullptr;
    if (!node)
      continue;
    CMoveAnimator::Path path;
    path.from = before.at[i];
    path.startMs = now;
    if (token->IsCaptured()) {
      if (before.captured[i])
        continue;
      // Taken: it sinks where it stood, then stands on its side's tray
      // (or stays out of sight without one).
      path.to = path.from - vector3df(0, CMoveAnimator::SINK_DEPTH, 0);
      path.visibleAtRest = TraySlotOf(i, path.rest);
      if (path.visibleAtRest)
        path.restScale = CCaptureTray::PIECE_SCALE;
      else
        path.rest = path.to;
      node->setVisible(true);
    } else {
      path.to = path.rest = node->getPosition();
      if (path.to == path.from)
        continue;
      if (token->GetType() == Knight)
        path.arc = CMoveAnimator::KNIGHT_ARC;
      // The castling rook sets off once its king has arrived.
      if (kingMoved && i != mover)
        path.startMs = now + CMoveAnimator::MOVE_MS;
    }
    CMoveAnimator::Start(node, path);
  }
}

bool CMap::IsAnimating() const {
  for (const CGameToken *token : tokens) {
    const CMoveAnimator *move = token ? CMoveAnimator::Of(token->GetMeshNode()) : nullptr;
    if (move && !move->hasFinished())
      return true;
  }
  return false;
}

void CMap::SetLastMove(const BoardSquare &from, const BoardSquare &to) {
  ClearLastMove();
  if (!from.IsOnBoard() || !to.IsOnBoard())
    return;
  lastMoveFrom = from;
  lastMoveTo = to;
  lastMoveShown = true;
  for (const BoardSquare &s : {from, to})
    if (CGameField *field = squares[s.X * 8 + s.Y])
      field->SetLastMoveTint(true);
}

void CMap::ClearLastMove() {
  lastMoveShown = false;
  for (CGameField *field : squares)
    if (field)
      field->SetLastMoveTint(false);
}

bool CMap::GetLastMove(BoardSquare &from, BoardSquare &to) const {
  if (!lastMoveShown)
    return false;
  from = lastMoveFrom;
  to = lastMoveTo;
  return true;
}

bool CMap::TraySlotOf(irr::s32 index, vector3df &position) const {
  const CCaptureTray *tray = tokens[index] ? GetTray(tokens[index]->GetColor()) : nullptr;
  if (!tray || !tray->GetNode())
    return false;
  irr::s32 slot = 0;
  for (irr::s32 taken : captureOrder) {
    if (taken == index) {
      position = tray->GetSlotPosition(slot);
      return true;
    }
    if (tokens[taken]->GetColor() == tokens[index]->GetColor())
      ++slot;
  }
  return false;
}

void CMap::RebuildTrays() {
  captureOrder.erase(std::remove_if(captureOrder.begin(), captureOrder.end(),
                                    [this](irr::s32 i) { return !tokens[i] || !tokens[i]->IsCaptured(); }),
                     captureOrder.end());
  for (irr::s32 i = 0; i < TOKEN_COUNT; ++i)
    if (tokens[i] && tokens[i]->IsCaptured() &&
        std::find(captureOrder.begin(), captureOrder.end(), i) == captureOrder.end())
      captureOrder.push_back(i);
  for (irr::s32 i : captureOrder) {
    irr::scene::IAnimatedMeshSceneNode *node = tokens[i]->GetMeshNode();
    if (!node)
      continue;
    vector3df slot;
    const bool onTray = TraySlotOf(i, slot);
    node->removeAnimators();
    if (onTray) {
      node->setPosition(slot);
      node->setScale(vector3df(CCaptureTray::PIECE_SCALE));
      node->updateAbsolutePosition();
    }
    node->setVisible(onTray);
  }
}
