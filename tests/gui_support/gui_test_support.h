#pragma once

#include <chrono>
#include <functional>
#include <string>

class wxWindow;
class wxRect;

namespace tarnwick::test {

/// Handles the toolkit's events until `done` answers true or `timeout` passes; true when done.
bool RunEventsUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(10));

/// Handles the events that wait now and those they cause, for about `duration`.
void RunEventsFor(std::chrono::milliseconds duration);

/// Writes what the screen shows of `window` (its frame included) as `<name>.png` into the
/// screenshot folder (TARNWICK_SCREENSHOT_DIR, else "screenshots" in the working folder) and
/// gives the file's path; empty when it could not be written.
std::string SaveScreenshot(wxWindow* window, const std::string& name);
/// The same for a rectangle of the screen, as it shows now (a window the toolkit does not know).
std::string SaveScreenshot(const wxRect& screenRect, const std::string& name);

/// Runs `actions` from the event loop once the next modal loop has started (so a test can drive
/// a dialog that the code under test shows with ShowModal).
void WhenModal(std::function<void()> actions);

}  // namespace tarnwick::test
