// Kept apart from the toolkit's headers: Xlib's macros (Status, None, Bool) clash with them.
#include "gui_support/screen_capture.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>

namespace tarnwick::test {
namespace {

int ShiftOf(unsigned long mask) {
  int shift = 0;
  while (mask != 0 && (mask & 1) == 0) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}

unsigned char Channel(unsigned long pixel, unsigned long mask) {
  const unsigned long value = (pixel & mask) >> ShiftOf(mask);
  const unsigned long maximum = mask >> ShiftOf(mask);
  return static_cast<unsigned char>(maximum == 0 ? 0 : value * 255 / maximum);
}

}  // namespace

std::string CaptureScreenRgb(int x, int y, int& width, int& height) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return {};
  const int screen = DefaultScreen(display);
  const int left = std::max(x, 0), top = std::max(y, 0);
  const int right = std::min(x + width, DisplayWidth(display, screen));
  const int bottom = std::min(y + height, DisplayHeight(display, screen));
  std::string rgb;
  width = right - left;
  height = bottom - top;
  XImage* image = width > 0 && height > 0
                      ? XGetImage(display, DefaultRootWindow(display), left, top, width, height, AllPlanes, ZPixmap)
                      : nullptr;
  if (image != nullptr) {
    rgb.reserve(static_cast<size_t>(width) * height * 3);
    for (int row = 0; row < height; ++row) {
      for (int column = 0; column < width; ++column) {
        const unsigned long pixel = XGetPixel(image, column, row);
        rgb += static_cast<char>(Channel(pixel, image->red_mask));
        rgb += static_cast<char>(Channel(pixel, image->green_mask));
        rgb += static_cast<char>(Channel(pixel, image->blue_mask));
      }
    }
    XDestroyImage(image);
  }
  XCloseDisplay(display);
  return rgb;
}

}  // namespace tarnwick::test
