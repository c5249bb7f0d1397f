/* A stand-in window manager for the end-to-end tests, which run under Xvfb
 * with none: it does only what the full-screen state needs. It takes over the
 * root window's redirects, grants every map and configure request as asked,
 * and acts on _NET_WM_STATE client messages for _NET_WM_STATE_FULLSCREEN by
 * giving the window the whole screen (add) or its earlier size (remove), and
 * setting the window's _NET_WM_STATE property to match. Each state change is
 * printed as "fullscreen add" or "fullscreen remove" on standard output.
 * Runs until killed. Usage: kelvar_xfullscreen_wm */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <stdio.h>

static int redirect_refused = 0;

static int on_error(Display *display, XErrorEvent *error) {
  (void)display;
  if (error->request_code == 2 /* X_ChangeWindowAttributes */)
    redirect_refused = 1;
  return 0;
}

int main(void) {
  Display *display = XOpenDisplay(NULL);
  if (!display) {
    fprintf(stderr, "cannot open display\n");
    return 1;
  }
  XSetErrorHandler(on_error);
  const Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureRedirectMask | SubstructureNotifyMask);
  XSync(display, False);
  if (redirect_refused) {
    fprintf(stderr, "another window manager is running\n");
    return 1;
  }
  const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
  const Atom fullscreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
  const int screen_w = DisplayWidth(display, DefaultScreen(display));
  const int screen_h = DisplayHeight(display, DefaultScreen(display));
  int saved_w = 0, saved_h = 0;
  printf("ready\n");
  fflush(stdout);

  for (;;) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == MapRequest) {
      XMapWindow(display, event.xmaprequest.window);
    } else if (event.type == ConfigureRequest) {
      const XConfigureRequestEvent *r = &event.xconfigurerequest;
      XWindowChanges changes = {r->x, r->y, r->width, r->height, r->border_width, r->above, r->detail};
      XConfigureWindow(display, r->window, (unsigned)r->value_mask, &changes);
    } else if (event.type == ClientMessage && event.xclient.message_type == state &&
               (Atom)event.xclient.data.l[1] == fullscreen) {
      const Window w = event.xclient.window;
      const long action = event.xclient.data.l[0]; /* 0 remove, 1 add, 2 toggle */
      XWindowAttributes attributes;
      XGetWindowAttributes(display, w, &attributes);
      const int on = action == 1 || (action == 2 && attributes.width != screen_w);
      if (on) {
        saved_w = attributes.width;
        saved_h = attributes.height;
        XMoveResizeWindow(display, w, 0, 0, (unsigned)screen_w, (unsigned)screen_h);
        XChangeProperty(display, w, state, XA_ATOM, 32, PropModeReplace, (const unsigned char *)&fullscreen, 1);
      } else if (saved_w > 0) {
        XMoveResizeWindow(display, w, 0, 0, (unsigned)saved_w, (unsigned)saved_h);
        XDeleteProperty(display, w, state);
      }
      printf("fullscreen %s\n", on ? "add" : "remove");
      fflush(stdout);
    }
    XFlush(display);
  }
}
