#include "app/CApplication.h"

#include "platform/Platform.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

CApplication app;

namespace {

const irr::core::dimension2d<irr::s32> WINDOW_SIZE(1024, 768);
const irr::s32 COLOR_BITS = 32;
const wchar_t *const WINDOW_CAPTION = L"Kelvar";

// Creates the device and publishes its interface pointers in the record.
bool CreateDevice(irr::video::E_DRIVER_TYPE driverType) {
  app.windowSize = WINDOW_SIZE;
  app.colorBits = COLOR_BITS;
  const irr::core::dimension2d<irr::u32> size(app.windowSize.Width, app.windowSize.Height);
  app.device = irr::createDevice(driverType, size, irr::u32(app.colorBits), false /*fullscreen*/,
                                 true /*stencil buffer*/, false /*vsync*/, &app.eventReceiver);
  if (!app.device)
    return false;
  app.device->setWindowCaption(WINDOW_CAPTION);
  app.driver = app.device->getVideoDriver();
  app.sceneManager = app.device->getSceneManager();
  app.guiEnvironment = app.device->getGUIEnvironment();
  app.logger = app.device->getLogger();
  return app.driver && app.sceneManager && app.guiEnvironment && app.logger;
}

// With KELVAR_FRAME_LOG set, one log line a second tells how many frames
// were drawn: tests see from it that the window kept drawing.
void CountFrame() {
  static const bool enabled = getenv("KELVAR_FRAME_LOG") != nullptr;
  static uint32_t secondStart = platform::GetTickCount();
  static unsigned frames = 0;
  if (!enabled)
    return;
  ++frames;
  if (uint32_t(platform::GetTickCount() - secondStart) >= 1000) {
    const std::string line = "frames in the last second: " + std::to_string(frames);
    LogMessage(line.c_str());
    frames = 0;
    secondStart = platform::GetTickCount();
  }
}

} // namespace

bool gl_Init(irr::video::E_DRIVER_TYPE driverType) {
  srand(unsigned(time(nullptr)));
  if (!CreateDevice(driverType))
    return false;
  app.driver->setTextureCreationFlag(irr::video::ETCF_ALWAYS_32_BIT, true);

  if (!app.eventReceiver.Init() || !app.cameraRig.Init() || !app.map.Init() || !app.gui.Init() ||
      !app.debugWindow.Init() || !app.game.Init() || !app.hint.Init() || !app.settings.Init() || !app.engine.Init() ||
      !app.gameFiles.Init())
    return false;
  app.settings.SendEngineOptions();

  app.game.SetState(Startup);
  LogMessage("gl_Init finished");
  return true;
}

bool gl_Frame() {
  if (!app.device->run())
    return false;
  app.driver->beginScene(true, true, irr::video::SColor(0, 0, 0, 0));
  app.sceneManager->drawAll();
  app.guiEnvironment->drawAll();
  app.gui.Draw();
  app.driver->endScene();
  CountFrame();
  gl_Update();
  return true;
}

void gl_Update() {
  app.eventReceiver.Update();
  app.cameraRig.Update();
  app.map.Update();
  app.gui.Update();
  app.game.Update();
  app.hint.Update();
  app.debugWindow.Update();
  app.engine.Update();
  app.gameFiles.Update();
}

void gl_Exit() {
  app.eventReceiver.Exit();
  app.cameraRig.Exit();
  app.map.Exit();
  app.gui.Exit();
  app.game.Exit();
  app.hint.Exit();
  app.debugWindow.Exit();
  app.gameFiles.Exit(); // while the engine link still holds the game's moves
  app.engine.Exit();
  LogMessage("gl_Exit finished");
}

void LogMessage(const char *text, irr::ELOG_LEVEL level) {
  // A little over 2000 characters holds every line the program writes;
  // snprintf cuts longer texts instead of writing past the buffer.
  static char buffer[2048];
  snprintf(buffer, sizeof(buffer), "Kelvar: %s", text ? text : "");
  if (app.logger)
    app.logger->log(buffer, level);
}
