// The "Debug Data" window: opened and closed from the menu, its text rebuilt
// every frame from live values while it is open.
#include "ui/CDebugWindow.h"

#include "app/CApplication.h"
#include "ui/DebugText.h"
#include "ui/GuiFocus.h"
#include "ui/GuiText.h"

using namespace irr;

namespace {

const core::rect<s32> WINDOW_RECT(20, 40, 230, 300);
// The text lies inside the window below its title bar, 5 pixels from its sides.
const s32 TEXT_LEFT = 5;
const s32 TEXT_TOP = 20;
const s32 TEXT_INSET = 5;

// One buffer for the whole run: the text is rebuilt every frame.
const std::size_t TEXT_CAPACITY = 1000;
wchar_t textBuffer[TEXT_CAPACITY];

// Reads every value the text shows, from whichever subsystems exist.
DebugValues CollectValues() {
  DebugValues v;
  v.width = app.windowSize.Width;
  v.height = app.windowSize.Height;
  v.colorBits = app.colorBits;
  v.fps = app.driver->getFPS();
  if (scene::ICameraSceneNode *camera = app.cameraRig.GetCamera()) {
    v.cameraPosition = camera->getAbsolutePosition();
    v.cameraRotation = camera->getRotation();
    v.cameraTarget = camera->getTarget();
  }
  v.primitives = app.driver->getPrimitiveCountDrawn();
  v.meshCount = app.sceneManager->getMeshCache()->getMeshCount();
  v.leftButton = app.eventReceiver.GetMouseButton(0);
  v.rightButton = app.eventReceiver.GetMouseButton(1);
  v.gameState = app.game.GetState();
  v.activePlayer = app.game.GetActivePlayer();
  v.selectedTokenPosition = app.map.GetSelectedTokenPosition();
  return v;
}

} // namespace

void CDebugWindow::Toggle() {
  gui::IGUIEnvironment *env = app.guiEnvironment;
  if (window) {
    ReleaseFocusWithin(env, window);
    window->remove();
    window = nullptr;
    return;
  }

  window = env->addWindow(WINDOW_RECT, false /*modal*/, TrW("Debug Data").c_str(), env->getRootGUIElement(), -1);
  if (!window)
    return;
  // Closed only through the menu, which keeps this object's pointer honest.
  window->getCloseButton()->setVisible(false);

  core::rect<s32> r = window->getRelativePosition();
  r.LowerRightCorner.X -= TEXT_INSET;
  r.LowerRightCorner.Y -= TEXT_INSET;
  r.UpperLeftCorner.X = TEXT_LEFT;
  r.UpperLeftCorner.Y = TEXT_TOP;
  text = env->addStaticText(L"", r, false /*border*/, true /*word wrap*/, window, -1, false /*fill background*/);
  if (!text) {
    // A window without its text is of no use: it counts as closed.
    window->remove();
    window = nullptr;
  }
}

void CDebugWindow::Update() {
  if (!window)
    return;
  text->setText(FormatDebugText(CollectValues(), textBuffer, TEXT_CAPACITY));
}
