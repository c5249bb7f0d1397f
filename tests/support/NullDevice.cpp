#include "tests/support/NullDevice.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace testing_support {

bool CreateNullDevice(irr::s32 width, irr::s32 height) {
  app.windowSize = irr::core::dimension2d<irr::s32>(width, height);
  app.colorBits = 32;
  app.device = irr::createDevice(irr::video::EDT_NULL, irr::core::dimension2d<irr::u32>(width, height), 32, false, true,
                                 false, &app.eventReceiver);
  if (!app.device)
    return false;
  app.driver = app.device->getVideoDriver();
  app.sceneManager = app.device->getSceneManager();
  app.guiEnvironment = app.device->getGUIEnvironment();
  app.logger = app.device->getLogger();
  return true;
}

irr::SEvent MouseEventAt(irr::EMOUSE_INPUT_EVENT what, int x, int y) {
  if (app.device)
    app.device->getCursorControl()->setPosition(x, y);
  irr::SEvent event{};
  event.EventType = irr::EET_MOUSE_INPUT_EVENT;
  event.MouseInput.Event = what;
  event.MouseInput.X = x;
  event.MouseInput.Y = y;
  return event;
}

void PostMouse(irr::EMOUSE_INPUT_EVENT what, int x, int y) { app.device->postEventFromUser(MouseEventAt(what, x, y)); }

void RunFrames(int n) {
  for (int i = 0; i < n; ++i)
    gl_Frame();
}

namespace {

// The copies this process made; they go when it ends, so that a whole test
// run leaves no copy of the run folder (tens of megabytes each) behind.
std::vector<fs::path> &Copies() {
  static std::vector<fs::path> copies;
  return copies;
}

void RemoveCopies() {
  std::error_code ignored;
  for (const fs::path &copy : Copies())
    fs::remove_all(copy, ignored);
}

} // namespace

std::string EnterCopyOfRunFolder(const char *omitMediaFile) {
  char pattern[] = "/tmp/kelvar-run-XXXXXX";
  const char *dir = mkdtemp(pattern);
  if (!dir)
    return {};
  if (Copies().empty())
    std::atexit(RemoveCopies);
  Copies().push_back(dir);
  const fs::path target(dir);
  fs::copy(fs::path(KELVAR_RUN_DIR), target, fs::copy_options::recursive);
  if (omitMediaFile)
    fs::remove(target / "media" / omitMediaFile);
  if (chdir(dir) != 0)
    return {};
  // Saved games, the autosave and the settings go to the copy too, never to
  // the real home, and no test sees the settings an earlier one saved.
  setenv("XDG_DATA_HOME", (target / "data").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (target / "config").c_str(), 1);
  return target.string();
}

} // namespace testing_support
