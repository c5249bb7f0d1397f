#include "app/CWindowControl.h"

#include "app/CApplication.h"
#include "platform/Platform.h"

#include <cstdio>

using namespace irr;

namespace {

const int RESIZE_FRAMES = 3;

} // namespace

core::dimension2d<s32> CWindowControl::StartSize(const CSettings &settings) {
  return core::dimension2d<s32>(core::max_(settings.width, s32(MIN_WIDTH)),
                                core::max_(settings.height, s32(MIN_HEIGHT)));
}

bool CWindowControl::IsSoftwareRenderer(const std::string &renderer) {
  for (const char *name : {"llvmpipe", "softpipe", "Software Rasterizer", "swrast"})
    if (renderer.find(name) != std::string::npos)
      return true;
  return false;
}

bool CWindowControl::Init() {
  windowedSize = app.windowSize;
  changed = false;
  fullScreen = false;
  const video::SExposedVideoData &data = app.driver->getExposedVideoData();
  if (app.driver->getDriverType() == video::EDT_OPENGL) {
    native.display = data.OpenGLLinux.X11Display;
    native.window = data.OpenGLLinux.X11Window;
  }
  if (!native.IsValid())
    return true;
  app.device->setResizable(true);
  // Irrlicht's resizable window has no minimum: the interface needs one.
  platform::SetMinimumWindowSize(native, MIN_WIDTH, MIN_HEIGHT);
  // The frame loop draws only when something changes: it must hear when the
  // window system has lost part of the picture (the window uncovered).
  platform::WatchExposeEvents(native);
  // Irrlicht's own vsync request ends the program on servers that list the
  // extension but refuse it; this one falls back to no vsync.
  LogMessage(platform::EnableVsync(native) ? "vsync on" : "vsync not offered by the driver");
  if (app.settings.Get().fullscreen)
    SetFullScreen(true);
  return true;
}

void CWindowControl::Update() {
  const core::dimension2d<u32> screen = app.driver->getScreenSize();
  const core::dimension2d<s32> size(s32(screen.Width), s32(screen.Height));
  if (size == app.windowSize || size.Width <= 0 || size.Height <= 0)
    return;
  const core::dimension2d<s32> oldSize = app.windowSize;
  app.windowSize = size;
  if (!fullScreen && size != windowedSize) {
    windowedSize = size;
    changed = true;
  }
  // The projection keeps its shape: a wider window shows more, not a stretch.
  if (scene::ICameraSceneNode *camera = app.cameraRig.GetCamera()) {
    camera->setAspectRatio(f32(size.Width) / f32(size.Height));
    app.cameraRig.OnWindowResized();
  }
  app.gui.ApplyLayout(oldSize);
  // Drawn at once, a few times, and at the fast rate for a moment: the
  // driver may size its buffers to the new window only a frame later.
  app.framePacer.RequestFrame(RESIZE_FRAMES);
  app.framePacer.NoteActivity(platform::GetTickCount());
  char line[64];
  snprintf(line, sizeof(line), "window size %d x %d", size.Width, size.Height);
  LogMessage(line);
}

bool CWindowControl::TakeExposeEvents() { return platform::TakeExposeEvents(native); }

void CWindowControl::ToggleFullScreen() {
  SetFullScreen(!fullScreen);
  changed = true;
}

void CWindowControl::SetFullScreen(bool on) {
  fullScreen = on;
  const bool sent = platform::RequestFullScreen(native, fullScreen);
  LogMessage(fullScreen ? (sent ? "full screen on" : "full screen on: no window system")
                        : (sent ? "full screen off" : "full screen off: no window system"));
}

void CWindowControl::Exit() {
  if (!changed)
    return;
  CSettings remembered = app.settings.Get();
  remembered.width = windowedSize.Width;
  remembered.height = windowedSize.Height;
  remembered.fullscreen = fullScreen;
  if (!(remembered == app.settings.Get()))
    app.settings.Apply(remembered);
  changed = false;
}
