// Test helpers: start the whole program, or only a device, on Irrlicht's null
// driver, with the process inside the run folder so media paths resolve.
#pragma once

#include "app/CApplication.h"

#include <string>

namespace testing_support {

// Creates a null-driver device of the given size (1024 x 768 unless told)
// and publishes its pointers in the static record, without initialising any
// subsystem. Returns false on failure.
bool CreateNullDevice(irr::s32 width = 1024, irr::s32 height = 768);

// A mouse event at window pixel (x, y); the cursor is moved there first, as
// a real mouse would, since the program reads the pointer from the cursor.
irr::SEvent MouseEventAt(irr::EMOUSE_INPUT_EVENT what, int x, int y);

// Moves the cursor and posts the mouse event to the device, which hands it to
// the event receiver, the interface and the camera in turn.
void PostMouse(irr::EMOUSE_INPUT_EVENT what, int x, int y);

// Runs n frames of the program on the current device (scene, GUI, update).
void RunFrames(int n);

// Copies the run folder's media into a fresh temporary folder, optionally
// without one file, and makes it the working directory; the player's data
// and settings folders (XDG_DATA_HOME, XDG_CONFIG_HOME) become its "data" and
// "config" folders. Returns the folder.
std::string EnterCopyOfRunFolder(const char *omitMediaFile = nullptr);

} // namespace testing_support
