// X11 side of the game window: size hints, the EWMH full-screen state and
// Expose events.
#include "platform/Window.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstring>

namespace platform {
namespace {

// _NET_WM_STATE actions understood by window managers (the freedesktop.org window-manager hints).
const long NET_WM_STATE_REMOVE = 0;
const long NET_WM_STATE_ADD = 1;
// The request comes from a normal application.
const long SOURCE_APPLICATION = 1;

Display *DisplayOf(const NativeWindow &w) { return static_cast<Display *>(w.display); }

// Set by the error handler below while a request that may be refused runs.
bool requestRefused = false;

int NoteRefusal(Display *, XErrorEvent *) {
  requestRefused = true;
  return 0;
}

// Whether the space-separated list holds the name as a whole word.
bool HasExtension(const char *list, const char *name) {
  const size_t length = strlen(name);
  for (const char *p = list; p && (p = strstr(p, name)); p += length)
    if ((p == list || p[-1] == ' ') && (p[length] == ' ' || p[length] == '\0'))
      return true;
  return false;
}

} // namespace

bool SetMinimumWindowSize(const NativeWindow &w, int width, int height) {
  if (!w.IsValid())
    return false;
  Display *display = DisplayOf(w);
  XSizeHints *hints = XAllocSizeHints();
  if (!hints)
    return false;
  long supplied = 0;
  XGetWMNormalHints(display, w.window, hints, &supplied); // keep what Irrlicht set
  hints->flags |= PMinSize;
  hints->flags &= ~PMaxSize; // a resizable window has no maximum
  hints->min_width = width;
  hints->min_height = height;
  XSetWMNormalHints(display, w.window, hints);
  XFree(hints);
  XFlush(display);
  return true;
}

bool RequestFullScreen(const NativeWindow &w, bool on) {
  if (!w.IsValid())
    return false;
  Display *display = DisplayOf(w);
  const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
  const Atom fullScreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
  if (state == None || fullScreen == None)
    return false;
  // A mapped window changes its state through a message to the root window,
  // which the window manager acts on.
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.serial = 0;
  event.xclient.send_event = True;
  event.xclient.display = display;
  event.xclient.window = w.window;
  event.xclient.message_type = state;
  event.xclient.format = 32;
  event.xclient.data.l[0] = on ? NET_WM_STATE_ADD : NET_WM_STATE_REMOVE;
  event.xclient.data.l[1] = long(fullScreen);
  event.xclient.data.l[2] = 0;
  event.xclient.data.l[3] = SOURCE_APPLICATION;
  const Window root = DefaultRootWindow(display);
  const Status sent = XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
  XFlush(display);
  return sent != 0;
}

WindowSystemHold::WindowSystemHold() : display(XOpenDisplay(nullptr)) {}

WindowSystemHold::~WindowSystemHold() {
  if (display)
    XCloseDisplay(static_cast<Display *>(display));
}

std::string GetRendererName() {
  // Looked up like the swap-interval calls, so the library needs only GLX.
  using GetString = const GLubyte *(*)(GLenum);
  auto get = reinterpret_cast<GetString>(glXGetProcAddress(reinterpret_cast<const GLubyte *>("glGetString")));
  const GLubyte *name = get && glXGetCurrentContext() ? get(GL_RENDERER) : nullptr;
  return name ? reinterpret_cast<const char *>(name) : "";
}

void FinishDrawing() {
  using Finish = void (*)();
  static const auto finish = reinterpret_cast<Finish>(glXGetProcAddress(reinterpret_cast<const GLubyte *>("glFinish")));
  if (finish && glXGetCurrentContext())
    finish();
}

bool EnableVsync(const NativeWindow &w) {
  if (!w.IsValid())
    return false;
  Display *display = DisplayOf(w);
  const char *extensions = glXQueryExtensionsString(display, DefaultScreen(display));
  using SwapIntervalEXT = void (*)(Display *, GLXDrawable, int);
  using SwapIntervalMESA = int (*)(unsigned);
  auto ext =
      reinterpret_cast<SwapIntervalEXT>(HasExtension(extensions, "GLX_EXT_swap_control")
                                            ? glXGetProcAddress(reinterpret_cast<const GLubyte *>("glXSwapIntervalEXT"))
                                            : nullptr);
  auto mesa = reinterpret_cast<SwapIntervalMESA>(
      HasExtension(extensions, "GLX_MESA_swap_control")
          ? glXGetProcAddress(reinterpret_cast<const GLubyte *>("glXSwapIntervalMESA"))
          : nullptr);
  if (!ext && !mesa)
    return false;
  // Some servers list the extension and then refuse the request (a virtual
  // X server without a screen refresh does): Xlib's default handler would end
  // the program, so errors are caught for the length of the call.
  XSync(display, False);
  requestRefused = false;
  XErrorHandler previous = XSetErrorHandler(NoteRefusal);
  bool ok = true;
  if (ext)
    ext(display, w.window, 1);
  else
    ok = mesa(1) == 0;
  XSync(display, False);
  XSetErrorHandler(previous);
  return ok && !requestRefused;
}

bool WatchExposeEvents(const NativeWindow &w) {
  if (!w.IsValid())
    return false;
  Display *display = DisplayOf(w);
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, w.window, &attributes))
    return false;
  // Adds to the events Irrlicht asked for; it ignores the Expose events itself.
  XSelectInput(display, w.window, attributes.your_event_mask | ExposureMask);
  XFlush(display);
  return true;
}

bool TakeExposeEvents(const NativeWindow &w) {
  if (!w.IsValid())
    return false;
  Display *display = DisplayOf(w);
  bool any = false;
  XEvent event;
  while (XCheckTypedWindowEvent(display, w.window, Expose, &event))
    any = true;
  return any;
}

} // namespace platform
