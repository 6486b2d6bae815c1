// Kept apart from the toolkit's headers: Xlib's macros (Status, None, Bool) clash with them.
#include "gui_support/close_request.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace tarnwick::test {
namespace {

bool HasTitle(Display* display, Window window, const std::string& title) {
  XTextProperty name{};
  if (XGetWMName(display, window, &name) == 0 || name.value == nullptr) return false;
  const bool same = std::string(reinterpret_cast<const char*>(name.value), name.nitems) == title;
  XFree(name.value);
  return same;
}

void SendDeleteWindow(Display* display, Window window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
}

}  // namespace

int RequestCloseByTitle(const std::string& title) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return 0;
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  int asked = 0;
  // Without a window manager the top-level windows are the root window's children.
  if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) != 0) {
    for (unsigned int i = 0; i < count; ++i) {
      if (!HasTitle(display, children[i], title)) continue;
      SendDeleteWindow(display, children[i]);
      ++asked;
    }
    if (children != nullptr) XFree(children);
  }
  XFlush(display);
  XCloseDisplay(display);
  return asked;
}

}  // namespace tarnwick::test
