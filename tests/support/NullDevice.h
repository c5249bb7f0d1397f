// Test helpers: start the whole program, or only a device, on Irrlicht's null
// driver, with the process inside the run folder so media paths resolve.
#pragma once

#include "app/CApplication.h"

#include <string>

namespace testing_support {

// Creates a null-driver device and publishes its pointers in the static
// record, without initialising any subsystem. Returns false on failure.
bool CreateNullDevice();

// Runs n frames of the program on the current device (scene, GUI, update).
void RunFrames(int n);

// Copies the run folder's media into a fresh temporary folder, optionally
// without one file, and makes it the working directory. Returns the folder.
std::string EnterCopyOfRunFolder(const char *omitMediaFile = nullptr);

} // namespace testing_support
