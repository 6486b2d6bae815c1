// Kept apart from the tests: the X headers define macros (Success, None, Status) that clash with
// ordinary names.
#include "screen_pixel.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace tarnwick::host::gui::test {

wxColour ScreenPixel(const wxPoint& point) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return wxNullColour;
  XImage* image = XGetImage(display, DefaultRootWindow(display), point.x, point.y, 1, 1, AllPlanes, ZPixmap);
  wxColour colour;
  if (image != nullptr) {
    const unsigned long pixel = XGetPixel(image, 0, 0);
    colour.Set((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    XDestroyImage(image);
  }
  XCloseDisplay(display);
  return colour;
}

}  // namespace tarnwick::host::gui::test
