#pragma once

#include <string>

namespace tarnwick::test {

/// Reads a rectangle of the X server's screen ($DISPLAY) as RGB bytes, row after row, straight
/// from the server (what a window really shows, not what the toolkit last painted); empty when it
/// cannot be read. The rectangle is clipped to the screen, and `width`/`height` set to what was read.
std::string CaptureScreenRgb(int x, int y, int& width, int& height);

}  // namespace tarnwick::test
