// The one static record that holds every long-lived object of the program and
// the engine library's interface pointers, plus start-up, frame and shut-down.
#pragma once

#include "app/CActivityMonitor.h"
#include "app/CCameraRig.h"
#include "app/CEventReceiver.h"
#include "app/CFramePacer.h"
#include "app/CPlayerSettings.h"
#include "app/CWindowControl.h"
#include "engine/CCEManager.h"
#include "game/CBoardCursor.h"
#include "game/CGame.h"
#include "game/CGameClock.h"
#include "game/CGameFiles.h"
#include "game/CGameKeeper.h"
#include "game/CGameReview.h"
#include "game/CGamesBrowser.h"
#include "game/CHint.h"
#include "game/COpeningNames.h"
#include "game/CPlayerRating.h"
#include "game/CSpeech.h"
#include "game/CTypedMoves.h"
#include "game/CUnfinishedGame.h"
#include "scene/CBoardReflection.h"
#include "scene/CMap.h"
#include "scene/CPiecePortraits.h"
#include "ui/CDebugWindow.h"
#include "ui/CGui.h"

#include <irrlicht.h>

#include <string>

struct CApplication {
  irr::IrrlichtDevice *device = nullptr;
  irr::video::IVideoDriver *driver = nullptr;
  irr::scene::ISceneManager *sceneManager = nullptr;
  irr::gui::IGUIEnvironment *guiEnvironment = nullptr;
  irr::ILogger *logger = nullptr;
  irr::core::dimension2d<irr::s32> windowSize{0, 0};
  irr::s32 colorBits = 0;
  CEventReceiver eventReceiver;
  CMap map;
  CPiecePortraits portraits;   // pictures of pieces for the promotion window
  CBoardReflection reflection; // the pieces' mirror images in the board
  CCameraRig cameraRig;
  CGui gui;
  CDebugWindow debugWindow;
  CGame game;
  CGameClock clock;
  COpeningNames openings;
  CHint hint;
  CPlayerSettings settings;
  CCEManager engine;
  CGameFiles gameFiles;
  CGameKeeper keeper;
  CPlayerRating rating;
  CGameReview review;
  CGamesBrowser gamesBrowser; // the Games window
  CTypedMoves typedMoves;
  CBoardCursor cursor;
  CUnfinishedGame unfinishedGame;
  CSpeech speech;
  // The frame loop's pacing: what can change the picture, the window's own
  // needs, and the decision when to draw.
  CWindowControl window;
  CActivityMonitor activity;
  CFramePacer framePacer;
};

extern CApplication app;

// Creates the device and initialises every subsystem in order; false on the
// first failure. The game uses the OpenGL driver; tests pass the null driver.
bool gl_Init(irr::video::E_DRIVER_TYPE driverType = irr::video::EDT_OPENGL);
// Draws one frame and runs the per-frame update. Returns false once the
// device has been closed.
bool gl_Frame();
// One pass of the game's frame loop: reads input, runs the per-frame update
// and draws only when the picture can have changed (see CFramePacer).
// Returns false once the device has been closed.
bool gl_Pass();
// Sleeps until the next pass is due: the rest of a frame while something
// moves, a poll interval while nothing does.
void gl_Rest();
// Draws the scene, the interface and the splash.
void gl_Draw();
void gl_Update();
void gl_Exit();

// Writes "Kelvar: <text>" through the device's logger. Over-long texts are cut.
void LogMessage(const char *text, irr::ELOG_LEVEL level = irr::ELL_INFORMATION);
inline void LogMessage(const std::string &text, irr::ELOG_LEVEL level = irr::ELL_INFORMATION) {
  LogMessage(text.c_str(), level);
}
