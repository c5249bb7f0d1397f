// The game window's dealings with the window system that Irrlicht does not
// offer: a minimum size, the full-screen state, and redraw requests.
// Only this folder knows that the window system is X11.
#pragma once

#include <string>

namespace platform {

// The window as the graphics driver exposes it: on X11 a Display* and a
// Window id. An empty one (the null driver) makes every call do nothing.
struct NativeWindow {
  void *display = nullptr;
  unsigned long window = 0;
  bool IsValid() const { return display && window; }
};

// Asks the window manager not to let the window get smaller than the size.
bool SetMinimumWindowSize(const NativeWindow &w, int width, int height);

// Asks the window manager to show the window full screen or to end that,
// through the window's _NET_WM_STATE_FULLSCREEN state. Without a window
// manager the request is sent and nothing happens.
bool RequestFullScreen(const NativeWindow &w, bool on);

// Makes each new frame wait for the screen's refresh (vsync) when the
// OpenGL driver offers it; false, and nothing changed, when it does not.
// The window's OpenGL context must be current.
bool EnableVsync(const NativeWindow &w);

// The name the current OpenGL context gives its renderer ("llvmpipe (LLVM
// 15.0.6, 256 bits)", "AMD Radeon ..."); empty without a current context.
std::string GetRendererName();

// Waits until the current OpenGL context has carried out every drawing
// command given so far (glFinish), so that a frame's drawing can be timed
// apart from the swap's wait for the screen; nothing without a context.
void FinishDrawing();

// Keeps a connection to the window system open while it lives. A server
// resets when its last client leaves, so a program that closes its only
// window to open another holds one across the gap.
class WindowSystemHold {
public:
  WindowSystemHold();
  ~WindowSystemHold();
  WindowSystemHold(const WindowSystemHold &) = delete;
  WindowSystemHold &operator=(const WindowSystemHold &) = delete;

private:
  void *display = nullptr;
};

// Asks the window system to report when parts of the window's picture are
// lost (Expose events), which TakeExposeEvents then collects.
bool WatchExposeEvents(const NativeWindow &w);

// Takes the window's waiting Expose events (parts of its picture were lost)
// off the queue; true if there were any, so the picture must be drawn again.
bool TakeExposeEvents(const NativeWindow &w);

} // namespace platform
