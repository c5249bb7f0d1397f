#include "app/CActivityMonitor.h"

#include "app/CApplication.h"
#include "scene/CGameToken.h"

using namespace irr;

namespace {

void Push(std::vector<f32> &out, const core::vector3df &v) {
  out.push_back(v.X);
  out.push_back(v.Y);
  out.push_back(v.Z);
}

// A focused text field blinks its cursor: it needs frames while it has the focus.
bool TextFieldFocused() {
  gui::IGUIElement *focus = app.guiEnvironment ? app.guiEnvironment->getFocus() : nullptr;
  return focus && (focus->getType() == gui::EGUIET_EDIT_BOX || focus->getType() == gui::EGUIET_SPIN_BOX);
}

} // namespace

bool CActivityMonitor::HasRunningAnimators(const scene::ISceneNode *node) {
  if (!node || !node->isVisible())
    return false;
  for (scene::ISceneNodeAnimator *animator : node->getAnimators())
    if (!animator->isEventReceiverEnabled() && !animator->hasFinished())
      return true;
  for (const scene::ISceneNode *child : node->getChildren())
    if (HasRunningAnimators(child))
      return true;
  return false;
}

std::vector<f32> CActivityMonitor::VisibleState() {
  std::vector<f32> s;
  s.reserve(160);
  s.push_back(f32(app.game.GetState()));
  s.push_back(f32(app.game.GetActivePlayer()));
  s.push_back(f32(app.game.GetHumanColor()));
  s.push_back(app.game.IsAwaitingEcho() ? 1.f : 0.f);
  s.push_back(f32(app.map.GetSelectedToken()));
  s.push_back(f32(app.engine.GetMovesHistory().size()));
  s.push_back(f32(app.clock.GetShownRevision())); // a running clock's faces
  s.push_back(app.gui.GetSplashTexture() ? 1.f : 0.f);
  gui::IGUIStaticText *banner = app.gui.GetBannerText();
  s.push_back(banner && banner->isVisible() ? 1.f : 0.f);
  // A review opened or closed, or stepped to another position (its progress
  // asks for single frames: the engine keeps the processor meanwhile).
  s.push_back(app.review.IsOpen() ? 1.f : 0.f);
  s.push_back(f32(app.review.GetShownPosition()));
  if (app.guiEnvironment) // a dialog or window opened or closed without a click
    s.push_back(f32(app.guiEnvironment->getRootGUIElement()->getChildren().size()));
  s.push_back(app.cameraRig.IsGliding() ? 1.f : 0.f);
  s.push_back(app.reflection.IsEnabled() ? 1.f : 0.f);
  if (scene::ICameraSceneNode *camera = app.cameraRig.GetCamera()) {
    Push(s, camera->getPosition());
    Push(s, camera->getTarget());
  }
  for (s32 i = 0; i < CMap::TOKEN_COUNT; ++i)
    if (const CGameToken *token = app.map.GetToken(i)) {
      const BoardSquare square = token->GetSquare();
      s.push_back(f32(square.X * 8 + square.Y));
      s.push_back(f32(token->GetType()));
      s.push_back(token->IsCaptured() ? 1.f : 0.f);
    }
  return s;
}

bool CActivityMonitor::Poll() {
  bool active = inputEvents != inputEventsSeen;
  inputEventsSeen = inputEvents;
  if (app.sceneManager && HasRunningAnimators(app.sceneManager->getRootSceneNode()))
    active = true;
  if (app.debugWindow.IsOpen() || TextFieldFocused())
    active = true; // live values, a blinking cursor
  if (app.reflection.IsProbing())
    active = true; // the first frames with reflections are timed: they come at the full rate
  std::vector<f32> state = VisibleState();
  if (state != lastState) {
    lastState.swap(state);
    active = true;
  }
  return active;
}
