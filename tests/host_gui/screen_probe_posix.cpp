// Kept apart from the tests: the X headers define macros (Success, None, Status) that clash with
// ordinary names.
#include "screen_probe.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <memory>
#include <string>
#include <vector>

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

namespace {

// The viewable top-level windows of the display, menus (override-redirect windows) aside.
std::vector<Window> ShownWindows(Display* display) {
  Window rootReturn = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  std::vector<Window> shown;
  if (XQueryTree(display, DefaultRootWindow(display), &rootReturn, &parent, &children, &count) == 0) return shown;
  for (unsigned int i = 0; i < count; ++i) {
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, children[i], &attributes) == 0) continue;
    if (attributes.map_state == IsViewable && !attributes.override_redirect) shown.push_back(children[i]);
  }
  if (children != nullptr) XFree(children);
  return shown;
}

wxRect RectOf(Display* display, Window window) {
  XWindowAttributes attributes{};
  XGetWindowAttributes(display, window, &attributes);
  return wxRect(attributes.x, attributes.y, attributes.width, attributes.height);
}

// The program a window belongs to, as the X server knows it: its class hint's name.
std::string ProgramOf(Display* display, Window window) {
  XClassHint hint{};
  if (XGetClassHint(display, window, &hint) == 0) return {};
  std::string name = hint.res_name != nullptr ? hint.res_name : "";
  if (hint.res_name != nullptr) XFree(hint.res_name);
  if (hint.res_class != nullptr) XFree(hint.res_class);
  return name;
}

}  // namespace

wxRect TopLevelWindowRect(const std::string& title) {
  DisplayPointer display = OpenDisplay();
  if (!display) return {};
  for (Window window : ShownWindows(display.get())) {
    if (TitleOf(display.get(), window) == title) return RectOf(display.get(), window);
  }
  return {};
}

wxRect OtherWindowOfProgramRect(const std::string& title) {
  DisplayPointer display = OpenDisplay();
  if (!display) return {};
  const std::vector<Window> shown = ShownWindows(display.get());
  std::string program;
  for (Window window : shown) {
    if (TitleOf(display.get(), window) == title) program = ProgramOf(display.get(), window);
  }
  for (Window window : shown) {
    if (!program.empty() && TitleOf(display.get(), window) != title && ProgramOf(display.get(), window) == program)
      return RectOf(display.get(), window);
  }
  return {};
}

}  // namespace tarnwick::host::gui::test
