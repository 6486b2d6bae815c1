// Kept apart from the tests: the X headers define macros (Success, None, Status) that clash with
// ordinary names.
#include "screen_probe.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <memory>

namespace tarnwick::host::gui::test {
namespace {

using DisplayPointer = std::unique_ptr<Display, int (*)(Display*)>;

DisplayPointer OpenDisplay() {
  return DisplayPointer(XOpenDisplay(nullptr), XCloseDisplay);
}

std::string TitleOf(Display* display, Window window) {
  char* name = nullptr;
  if (XFetchName(display, window, &name) == 0 || name == nullptr) return {};
  std::string title = name;
  XFree(name);
  return title;
}

}  // namespace

wxColour ScreenPixel(const wxPoint& point) {
  DisplayPointer display = OpenDisplay();
  if (!display) return wxNullColour;
  XImage* image =
      XGetImage(display.get(), DefaultRootWindow(display.get()), point.x, point.y, 1, 1, AllPlanes, ZPixmap);
  if (image == nullptr) return wxNullColour;
  const unsigned long pixel = XGetPixel(image, 0, 0);
  XDestroyImage(image);
  return wxColour((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

wxRect TopLevelWindowRect(const std::string& title) {
  DisplayPointer display = OpenDisplay();
  if (!display) return {};
  Window root = DefaultRootWindow(display.get());
  Window rootReturn = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (XQueryTree(display.get(), root, &rootReturn, &parent, &children, &count) == 0) return {};
  wxRect found;
  for (unsigned int i = 0; i < count && found.IsEmpty(); ++i) {
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display.get(), children[i], &attributes) == 0) continue;
    if (attributes.map_state != IsViewable || TitleOf(display.get(), children[i]) != title) continue;
    found = wxRect(attributes.x, attributes.y, attributes.width, attributes.height);
  }
  if (children != nullptr) XFree(children);
  return found;
}

}  // namespace tarnwick::host::gui::test
