#include "scene/CMoveAnimator.h"

#include <cmath>

using irr::core::vector3df;

irr::f32 CMoveAnimator::Ease(irr::f32 t) {
  if (t <= 0)
    return 0;
  if (t >= 1)
    return 1;
  return t * t * (3 - 2 * t);
}

vector3df CMoveAnimator::PositionAt(const Path &path, irr::u32 timeMs) {
  // Signed difference: a journey that has not begun yet stays at its start.
  const irr::s32 elapsed = irr::s32(timeMs - path.startMs);
  if (elapsed <= 0)
    return path.from;
  if (path.durationMs == 0 || irr::u32(elapsed) >= path.durationMs)
    return path.to;
  const irr::f32 t = irr::f32(elapsed) / irr::f32(path.durationMs);
  vector3df at = path.from + (path.to - path.from) * Ease(t);
  at.Y += path.arc * std::sin(irr::core::PI * t);
  return at;
}

void CMoveAnimator::animateNode(irr::scene::ISceneNode *node, irr::u32 timeMs) {
  if (!node || finished)
    return;
  if (irr::s32(timeMs - path.startMs) >= irr::s32(path.durationMs)) {
    finished = true;
    node->setPosition(path.rest);
    node->setScale(vector3df(path.restScale));
    node->setVisible(path.visibleAtRest);
    return;
  }
  node->setPosition(PositionAt(path, timeMs));
}

irr::scene::ISceneNodeAnimator *CMoveAnimator::createClone(irr::scene::ISceneNode *, irr::scene::ISceneManager *) {
  return new CMoveAnimator(path);
}

void CMoveAnimator::Start(irr::scene::ISceneNode *node, const Path &path) {
  if (!node)
    return;
  node->removeAnimators();
  node->setPosition(path.from);
  node->updateAbsolutePosition();
  CMoveAnimator *animator = new CMoveAnimator(path);
  node->addAnimator(animator);
  animator->drop();
}

CMoveAnimator *CMoveAnimator::Of(irr::scene::ISceneNode *node) {
  if (!node)
    return nullptr;
  for (irr::scene::ISceneNodeAnimator *animator : node->getAnimators())
    if (CMoveAnimator *move = dynamic_cast<CMoveAnimator *>(animator))
      return move;
  return nullptr;
}
