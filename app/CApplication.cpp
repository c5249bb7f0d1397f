#include "app/CApplication.h"

#include "platform/Language.h"
#include "platform/Platform.h"
#include "platform/QuitSignals.h"
#include "platform/Window.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <unistd.h>

CApplication app;

namespace {

const irr::s32 COLOR_BITS = 32;
const wchar_t *const WINDOW_CAPTION = L"Kelvar";

// Multisampling for smoother edges, where the driver offers it.
const irr::u8 ANTI_ALIAS_SAMPLES = 4;

// Creates the device, its window at the size the settings remember, and
// publishes its interface pointers in the record.
bool CreateDevice(irr::video::E_DRIVER_TYPE driverType) {
  app.windowSize = CWindowControl::StartSize(app.settings.Get());
  app.colorBits = COLOR_BITS;
  irr::SIrrlichtCreationParameters params;
  params.DriverType = driverType;
  params.WindowSize = irr::core::dimension2d<irr::u32>(app.windowSize.Width, app.windowSize.Height);
  params.Bits = irr::u8(app.colorBits);
  params.Fullscreen = false;
  params.Stencilbuffer = true; // the pieces' shadow volumes
  params.Vsync = false;        // asked for by CWindowControl, which survives a refusal
  params.AntiAlias = ANTI_ALIAS_SAMPLES;
  params.EventReceiver = &app.eventReceiver;
  app.device = irr::createDeviceEx(params);
  std::string softwareRenderer;
  std::unique_ptr<platform::WindowSystemHold> hold; // the server stays up between the two windows
  if (app.device && driverType == irr::video::EDT_OPENGL &&
      CWindowControl::IsSoftwareRenderer(platform::GetRendererName())) {
    hold = std::make_unique<platform::WindowSystemHold>();
    // Smooth motion matters more than smooth edges: without multisampling
    // a software renderer draws about twice the frames.
    softwareRenderer = platform::GetRendererName();
    app.device->closeDevice();
    app.device->run();
    app.device->drop();
    app.device = nullptr;
  }
  if (!app.device) { // no multisampled visual at all, or a software renderer: the same without
    params.AntiAlias = 0;
    app.device = irr::createDeviceEx(params);
  }
  if (!app.device)
    return false;
  app.device->setWindowCaption(WINDOW_CAPTION);
  app.driver = app.device->getVideoDriver();
  app.sceneManager = app.device->getSceneManager();
  app.guiEnvironment = app.device->getGUIEnvironment();
  app.logger = app.device->getLogger();
  if (!softwareRenderer.empty())
    LogMessage("no multisampling on the software renderer " + softwareRenderer);
  return app.driver && app.sceneManager && app.guiEnvironment && app.logger;
}

// With KELVAR_FRAME_LOG set, one log line a second tells how many frames
// were drawn and how many passes the loop made: the loop draws only when the
// picture can change, so its passes show that the window kept answering. The
// longest pass (input, updates and drawing) is the longest frame a player
// could have seen; the longest update tells the program's own work from the
// drawing (which a software renderer makes slow).
struct FrameCount {
  uint32_t secondStart = platform::GetTickCount();
  unsigned frames = 0, passes = 0;
  uint32_t longestMs = 0, longestUpdateMs = 0;

  void Count(bool drawn, uint32_t passStart, uint32_t updateMs) {
    static const bool enabled = getenv("KELVAR_FRAME_LOG") != nullptr;
    if (!enabled)
      return;
    frames += drawn ? 1 : 0;
    ++passes;
    const uint32_t now = platform::GetTickCount();
    longestMs = std::max(longestMs, uint32_t(now - passStart));
    longestUpdateMs = std::max(longestUpdateMs, updateMs);
    if (uint32_t(now - secondStart) >= 1000) {
      const std::string line = "frames in the last second: " + std::to_string(frames) +
                               ", loop passes: " + std::to_string(passes) +
                               ", longest pass: " + std::to_string(longestMs) +
                               " ms, longest update: " + std::to_string(longestUpdateMs) + " ms";
      LogMessage(line);
      frames = passes = 0;
      longestMs = longestUpdateMs = 0;
      secondStart = now;
    }
  }
};
FrameCount frameCount;

} // namespace

bool gl_Init(irr::video::E_DRIVER_TYPE driverType) {
  srand(unsigned(time(nullptr)));
  // Messages follow the player's language from here; the catalogues lie in
  // or beside the data folder, the working directory.
  char folder[4096];
  const std::string language =
      platform::SetUpInterfaceLanguage(platform::LocaleFolder(getcwd(folder, sizeof folder) ? folder : "."));
  // The settings come first: they say how large the window opens.
  if (!app.settings.Load() || !CreateDevice(driverType))
    return false;
  LogMessage("interface language " + language);
  app.driver->setTextureCreationFlag(irr::video::ETCF_ALWAYS_32_BIT, true);

  if (!app.eventReceiver.Init() || !app.window.Init() || !app.activity.Init() || !app.cameraRig.Init() ||
      !app.map.Init() || !app.gui.Init() || !app.debugWindow.Init() || !app.game.Init() || !app.clock.Init() ||
      !app.openings.Init() || !app.hint.Init() || !app.settings.Init() || !app.speech.Init() || !app.engine.Init() ||
      !app.gameFiles.Init() || !app.unfinishedGame.Init() || !app.review.Init() || !app.typedMoves.Init() ||
      !app.cursor.Init() || !app.keeper.Init() || !app.rating.Init() || !app.gamesBrowser.Init())
    return false;
  // A log out, a shut down or Ctrl+C ends the game as the menu's Quit does.
  platform::CatchQuitSignals();
  app.settings.SendEngineOptions();

  app.game.SetState(Startup);
  LogMessage("gl_Init finished");
  return true;
}

void gl_Draw() {
  const auto start = std::chrono::steady_clock::now();
  app.driver->beginScene(true, true, irr::video::SColor(0, 0, 0, 0));
  app.portraits.RenderPending();
  app.reflection.Render();
  app.sceneManager->drawAll();
  app.guiEnvironment->drawAll();
  app.gui.Draw();
  app.reflection.FrameDrawn(start);
  app.driver->endScene();
}

bool gl_Frame() {
  const uint32_t passStart = platform::GetTickCount();
  if (!app.device->run())
    return false;
  gl_Draw();
  const uint32_t updateStart = platform::GetTickCount();
  gl_Update();
  frameCount.Count(true, passStart, platform::GetTickCount() - updateStart);
  return true;
}

bool gl_Pass() {
  const uint32_t passStart = platform::GetTickCount();
  if (app.window.TakeExposeEvents())
    app.framePacer.RequestFrame();
  if (const int signal = platform::TakeQuitSignal()) {
    LogMessage(std::string("quit on ") + platform::QuitSignalName(signal));
    app.device->closeDevice();
  }
  if (!app.device->run())
    return false;
  const uint32_t updateStart = platform::GetTickCount();
  gl_Update();
  const uint32_t updateMs = platform::GetTickCount() - updateStart;
  // The frame shows this pass's input and updates: an engine move fetched by
  // the game controller now is on screen at the end of this pass.
  const uint32_t now = platform::GetTickCount();
  if (app.activity.Poll())
    app.framePacer.NoteActivity(now);
  const bool draw = app.framePacer.ShouldDraw(now);
  if (draw) {
    gl_Draw();
    app.framePacer.FrameDrawn(now);
  }
  frameCount.Count(draw, passStart, updateMs);
  return true;
}

void gl_Rest() { platform::Sleep(app.framePacer.SleepTime(platform::GetTickCount())); }

void gl_Update() {
  app.window.Update();
  app.eventReceiver.Update();
  app.cameraRig.Update();
  app.map.Update();
  app.gui.Update();
  // The engine's output is read before the game looks for its answer, so an
  // answer that arrived during the last sleep is played and drawn in this
  // pass rather than one pass later.
  app.engine.Update();
  app.game.Update();
  app.clock.Update(); // after the game has played a move that arrived
  app.speech.Update();
  app.openings.Update();
  app.hint.Update();
  app.debugWindow.Update();
  app.gameFiles.Update();
  app.unfinishedGame.Update(); // after a file named at start has been opened
  app.review.Update();
  app.typedMoves.Update();
  app.cursor.Update();
  app.rating.Update(); // a new game is seen before the keeper keeps it
  app.keeper.Update(); // after the game and the files have had their say
  app.gamesBrowser.Update();
}

void gl_Exit() {
  app.eventReceiver.Exit();
  app.cameraRig.Exit();
  app.map.Exit();
  app.gui.Exit();
  app.portraits.Exit();
  app.reflection.Exit();
  app.game.Exit();
  app.clock.Exit();
  app.openings.Exit();
  app.hint.Exit();
  app.debugWindow.Exit();
  app.gameFiles.Exit();
  app.review.Exit();
  app.gamesBrowser.Exit();
  app.typedMoves.Exit();
  app.cursor.Exit();
  app.keeper.Exit();
  app.speech.Exit();
  app.unfinishedGame.Exit(); // while the engine link still names the game's engine
  app.engine.Exit();
  app.activity.Exit();
  app.window.Exit();
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
